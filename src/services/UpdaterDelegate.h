#pragma once

#include "services/UpdateItem.h"
#include "services/UpdaterError.h"

namespace vantrell {

class Updater;

// Told how each check for updates ended, scheduled or started by the user: exactly one of the
// three calls per check, on the main thread.
class UpdaterDelegate {
public:
    virtual ~UpdaterDelegate() = default;

    virtual void didFindValidUpdate(Updater& updater, const UpdateItem& item) = 0;
    // `error` carries the no-update code.
    virtual void updaterDidNotFindUpdate(Updater& updater, const UpdaterError& error) = 0;
    virtual void didAbortWithError(Updater& updater, const UpdaterError& error) = 0;
};

}  // namespace vantrell
