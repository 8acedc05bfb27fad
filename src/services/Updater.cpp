#include "services/Updater.h"

#include "services/BuildConfiguration.h"
#include "services/UpdaterDelegate.h"
#include "settings/Preferences.h"

#include <QPointer>
#include <QTimer>

#include <algorithm>
#include <cmath>
#include <limits>

namespace vantrell {

namespace {

int timerMilliseconds(double seconds)
{
    const double ms = std::ceil(seconds * 1000);
    return static_cast<int>(std::clamp(ms, 0.0, double(std::numeric_limits<int>::max())));
}

}  // namespace

Updater::Updater(const UpdaterEnvironment& environment, UpdaterDelegate* delegate, QObject* parent)
    : QObject(parent),
      m_environment(environment),
      m_delegate(delegate),
      m_scheduleTimer(new QTimer(this)),
      m_automaticallyDownloadsUpdates(
          readPreference(environment.defaults, preferences::updaterAutomaticallyDownloadsUpdates))
{
    m_scheduleTimer->setObjectName(QStringLiteral("updateCheckTimer"));
    m_scheduleTimer->setSingleShot(true);
    m_scheduleTimer->setTimerType(Qt::PreciseTimer);
    connect(m_scheduleTimer, &QTimer::timeout, this, &Updater::scheduledCheckTimerFired);
}

void Updater::setAutomaticallyChecksForUpdates(bool value)
{
    m_automaticallyChecksForUpdates = value;
    reschedule();
}

void Updater::setUpdateCheckInterval(double seconds)
{
    m_updateCheckInterval = std::max(minimumUpdateCheckInterval,
                                     std::isnan(seconds) ? minimumUpdateCheckInterval : seconds);
    reschedule();
}

void Updater::setAutomaticallyDownloadsUpdates(bool value)
{
    writePreference(m_environment.defaults, preferences::updaterAutomaticallyDownloadsUpdates,
                    value);
    if (value != m_automaticallyDownloadsUpdates) {
        m_automaticallyDownloadsUpdates = value;
        Q_EMIT automaticallyDownloadsUpdatesChanged(value);
    }
}

std::optional<Date> Updater::lastUpdateCheckDate() const
{
    return readPreference(m_environment.defaults, preferences::updaterLastCheckTime);
}

std::optional<double> Updater::scheduledCheckDelay() const
{
    if (!m_scheduleTimer->isActive()) {
        return std::nullopt;
    }
    return m_scheduleTimer->interval() / 1000.0;
}

void Updater::start()
{
    if (m_started) {
        return;
    }
    m_started = true;
    updateCanCheck();
    reschedule();
}

void Updater::checkForUpdates()
{
    beginCheck(true);
}

void Updater::checkForUpdatesInBackground()
{
    beginCheck(false);
}

void Updater::beginCheck(bool userInitiated)
{
    if (m_checkInFlight) {
        return;
    }
    if (!isConfigured()) {
        finishCheck(UpdaterError::make(UpdaterError::notConfigured), userInitiated);
        return;
    }
    m_checkInFlight = true;
    updateCanCheck();
    fetchAndFinish(userInitiated);
}

QCoro::Task<void> Updater::fetchAndFinish(bool userInitiated)
{
    QPointer<Updater> self(this);
    const UpdateCheckOutcome outcome = co_await fetchOutcome();
    if (self) {
        self->finishCheck(outcome, userInitiated);
    }
}

QCoro::Task<UpdateCheckOutcome> Updater::fetchOutcome()
{
    // Copied before the wait: only locals are used once the reply is in.
    HttpTransport& transport = m_environment.transport;
    const HttpRequest request = UpdateFeed::request(m_environment.feedURL);
    const QString currentVersion = runningApplicationVersion();
    try {
        const HttpResponse response = co_await transport.perform(request);
        co_return UpdateFeed::evaluate(response, currentVersion);
    } catch (const HttpBodyTooLargeError& error) {
        co_return UpdateFeed::evaluateOversized(error.statusCode);
    } catch (...) {
        co_return UpdaterError::make(UpdaterError::feedUnreachable);
    }
}

void Updater::finishCheck(const UpdateCheckOutcome& outcome, bool userInitiated)
{
    m_checkInFlight = false;
    if (isConfigured()) {
        writePreference(m_environment.defaults, preferences::updaterLastCheckTime,
                        std::optional(m_environment.clock.now()));
    }
    updateCanCheck();
    reschedule();
    report(outcome, userInitiated);
}

void Updater::report(const UpdateCheckOutcome& outcome, bool userInitiated)
{
    UpdateUserDriver* driver = userInitiated ? &m_environment.userDriver : nullptr;
    if (const auto* item = std::get_if<UpdateItem>(&outcome)) {
        if (m_delegate) {
            m_delegate->didFindValidUpdate(*this, *item);
        }
        if (driver) {
            driver->showUpdateFound(*item);
        }
        return;
    }
    const auto& error = std::get<UpdaterError>(outcome);
    const bool nothingNewer = error.code == UpdaterError::noUpdateFound;
    if (m_delegate) {
        nothingNewer ? m_delegate->updaterDidNotFindUpdate(*this, error)
                     : m_delegate->didAbortWithError(*this, error);
    }
    if (driver) {
        nothingNewer ? driver->showUpdateNotFound() : driver->showUpdaterError(error);
    }
}

void Updater::updateCanCheck()
{
    const bool value = m_started && isConfigured() && !m_checkInFlight;
    if (value != m_canCheckForUpdates) {
        m_canCheckForUpdates = value;
        Q_EMIT canCheckForUpdatesChanged(value);
    }
}

void Updater::reschedule()
{
    if (!m_started || !isConfigured() || !m_automaticallyChecksForUpdates) {
        m_scheduleTimer->stop();
        return;
    }
    const double delay = std::max(secondsUntilDue(), minimumScheduleDelay);
    m_scheduleTimer->start(timerMilliseconds(delay));
}

double Updater::secondsUntilDue() const
{
    const std::optional<Date> last = lastUpdateCheckDate();
    if (!last) {
        return 0;
    }
    const Date now = m_environment.clock.now();
    // A last check "in the future" (the clock was set back) counts as one made now.
    const Date effective = std::min(*last, now);
    return effective.addingSeconds(m_updateCheckInterval).secondsSince(now);
}

void Updater::scheduledCheckTimerFired()
{
    // The timer cannot wait longer than about 24 days, and the clock may have moved since it
    // was set: check only when the schedule says so.
    if (secondsUntilDue() > 1) {
        reschedule();
        return;
    }
    checkForUpdatesInBackground();
}

}  // namespace vantrell
