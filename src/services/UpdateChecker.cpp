#include "services/UpdateChecker.h"

#include "services/BuildConfiguration.h"
#include "settings/Preferences.h"

namespace vantrell {

UpdateChecker::UpdateChecker(const UpdaterEnvironment& environment, QObject* parent)
    : QObject(parent), m_clock(environment.clock)
{
    m_updaterController = new UpdaterController(false, this, environment, this);
    observeUpdater();
    m_updaterController->startUpdater();
    Updater& updater = m_updaterController->updater();
    updater.setAutomaticallyChecksForUpdates(
        readPreference(environment.defaults, preferences::automaticallyChecksForUpdates));
    updater.setUpdateCheckInterval(Updater::defaultUpdateCheckInterval);
}

void UpdateChecker::observeUpdater()
{
    Updater* updater = &m_updaterController->updater();
    // Delivered on the event loop, like the initial values below.
    connect(updater, &Updater::canCheckForUpdatesChanged, this,
            &UpdateChecker::setCanCheckForUpdates, Qt::QueuedConnection);
    connect(updater, &Updater::automaticallyDownloadsUpdatesChanged, this,
            &UpdateChecker::setAutomaticallyDownloadsUpdates, Qt::QueuedConnection);
    const bool canCheck = updater->canCheckForUpdates();
    const bool downloads = updater->automaticallyDownloadsUpdates();
    QMetaObject::invokeMethod(
        this,
        [this, canCheck, downloads] {
            setCanCheckForUpdates(canCheck);
            setAutomaticallyDownloadsUpdates(downloads);
        },
        Qt::QueuedConnection);
}

void UpdateChecker::setState(const State& state)
{
    if (state != m_state) {
        m_state = state;
        Q_EMIT stateChanged();
    }
}

QString UpdateChecker::currentVersion()
{
    return runningApplicationVersion();
}

void UpdateChecker::checkForUpdates()
{
    if (!m_updaterController->updater().canCheckForUpdates()) {
        return;
    }
    // Set first: the outcome may arrive before the call returns, and it must win.
    setState(State::checking());
    m_updaterController->checkForUpdates();
}

void UpdateChecker::didFindValidUpdate(Updater& /*updater*/, const UpdateItem& item)
{
    markChecked();
    if (item.releaseNotesURL && item.releaseNotesURL->scheme() == u"https") {
        setReleaseNotesURL(item.releaseNotesURL);
    }
    setState(State::updateAvailable(item.displayVersionString));
}

void UpdateChecker::updaterDidNotFindUpdate(Updater& /*updater*/, const UpdaterError& /*error*/)
{
    markChecked();
    setReleaseNotesURL(std::nullopt);
    setState(State::upToDate());
}

void UpdateChecker::didAbortWithError(Updater& /*updater*/, const UpdaterError& error)
{
    markChecked();
    if (error.errorDomain == UpdaterError::domain && error.code == UpdaterError::noUpdateFound) {
        setState(State::upToDate());
    } else {
        setState(State::failed(error.localizedDescription));
    }
}

void UpdateChecker::setCanCheckForUpdates(bool value)
{
    if (value != m_canCheckForUpdates) {
        m_canCheckForUpdates = value;
        Q_EMIT canCheckForUpdatesChanged();
    }
}

void UpdateChecker::setAutomaticallyDownloadsUpdates(bool value)
{
    if (value != m_automaticallyDownloadsUpdates) {
        m_automaticallyDownloadsUpdates = value;
        Q_EMIT automaticallyDownloadsUpdatesChanged();
    }
}

void UpdateChecker::setReleaseNotesURL(const std::optional<QUrl>& url)
{
    if (url != m_releaseNotesURL) {
        m_releaseNotesURL = url;
        Q_EMIT releaseNotesURLChanged();
    }
}

void UpdateChecker::markChecked()
{
    m_lastCheckedAt = m_clock.now();
    Q_EMIT lastCheckedAtChanged();
}

}  // namespace vantrell
