#pragma once

#include "services/Updater.h"

#include <QObject>

namespace vantrell {

class UpdaterDelegate;

// Owns the program's one Updater and starts checks the user asks for, with the update layer's
// own dialogs. Main thread only.
class UpdaterController : public QObject {
    Q_OBJECT

public:
    // The updater reports to `delegate` (which must outlive it, or be null). With
    // `startingUpdater` false the schedule begins only at startUpdater().
    UpdaterController(bool startingUpdater, UpdaterDelegate* delegate,
                      const UpdaterEnvironment& environment, QObject* parent = nullptr);

    Updater& updater() { return *m_updater; }
    const Updater& updater() const { return *m_updater; }

    void startUpdater();
    // A check started by the user; its outcome reaches the delegate and a dialog.
    void checkForUpdates();

private:
    Updater* m_updater;
};

}  // namespace vantrell
