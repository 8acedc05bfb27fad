#include "services/UpdaterController.h"

namespace vantrell {

UpdaterController::UpdaterController(bool startingUpdater, UpdaterDelegate* delegate,
                                     const UpdaterEnvironment& environment, QObject* parent)
    : QObject(parent), m_updater(new Updater(environment, delegate, this))
{
    if (startingUpdater) {
        startUpdater();
    }
}

void UpdaterController::startUpdater()
{
    m_updater->start();
}

void UpdaterController::checkForUpdates()
{
    m_updater->checkForUpdates();
}

}  // namespace vantrell
