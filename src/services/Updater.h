#pragma once

#include "models/Date.h"
#include "services/UpdateFeed.h"
#include "services/UpdaterEnvironment.h"

#include <QCoroTask>
#include <QObject>

#include <optional>

class QTimer;

namespace vantrell {

class UpdaterDelegate;

// Checks the update feed, on its own daily schedule and when the user asks. Owned by an
// UpdaterController. Main thread only.
//
// Every check ends in exactly one delegate call, through one exit path that also makes checking
// possible again, so no failure can leave the updater "checking". Nothing found is ever
// downloaded, run or installed: a found update only offers its https download page.
class Updater : public QObject {
    Q_OBJECT
    Q_PROPERTY(bool canCheckForUpdates READ canCheckForUpdates NOTIFY canCheckForUpdatesChanged)
    Q_PROPERTY(bool automaticallyChecksForUpdates READ automaticallyChecksForUpdates WRITE
                   setAutomaticallyChecksForUpdates)
    Q_PROPERTY(double updateCheckInterval READ updateCheckInterval WRITE setUpdateCheckInterval)
    Q_PROPERTY(bool automaticallyDownloadsUpdates READ automaticallyDownloadsUpdates WRITE
                   setAutomaticallyDownloadsUpdates NOTIFY automaticallyDownloadsUpdatesChanged)

public:
    static constexpr double defaultUpdateCheckInterval = 86400;
    static constexpr double minimumUpdateCheckInterval = 3600;
    // A scheduled check waits at least this long, so start-up is never slowed by one.
    static constexpr double minimumScheduleDelay = 60;

    Updater(const UpdaterEnvironment& environment, UpdaterDelegate* delegate,
            QObject* parent = nullptr);

    // False before start(), while a check runs, and always when no feed address is configured.
    bool canCheckForUpdates() const { return m_canCheckForUpdates; }

    bool automaticallyChecksForUpdates() const { return m_automaticallyChecksForUpdates; }
    void setAutomaticallyChecksForUpdates(bool value);
    // Seconds between scheduled checks; below the minimum (or not a number) the minimum.
    double updateCheckInterval() const { return m_updateCheckInterval; }
    void setUpdateCheckInterval(double seconds);
    // Stored and shown only: updates are never fetched unasked.
    bool automaticallyDownloadsUpdates() const { return m_automaticallyDownloadsUpdates; }
    void setAutomaticallyDownloadsUpdates(bool value);

    std::optional<Date> lastUpdateCheckDate() const;
    // Seconds until the next scheduled check, or nothing while none is scheduled.
    std::optional<double> scheduledCheckDelay() const;

    // Begins the schedule; checking becomes possible. Called once, by the controller.
    void start();
    // A check the user started: it ends with the layer's own dialog as well. Ignored while a
    // check runs; without a feed address it ends at once with the not-configured error.
    void checkForUpdates();
    // A check without any dialog, as the schedule runs it.
    void checkForUpdatesInBackground();

Q_SIGNALS:
    void canCheckForUpdatesChanged(bool value);
    void automaticallyDownloadsUpdatesChanged(bool value);

private:
    bool isConfigured() const { return !m_environment.feedURL.isEmpty(); }
    void beginCheck(bool userInitiated);
    QCoro::Task<void> fetchAndFinish(bool userInitiated);
    QCoro::Task<UpdateCheckOutcome> fetchOutcome();
    void finishCheck(const UpdateCheckOutcome& outcome, bool userInitiated);
    void report(const UpdateCheckOutcome& outcome, bool userInitiated);
    void updateCanCheck();
    void reschedule();
    // Seconds from now until the schedule says a check is due; may be 0 or negative.
    double secondsUntilDue() const;
    void scheduledCheckTimerFired();

    UpdaterEnvironment m_environment;
    UpdaterDelegate* m_delegate;
    QTimer* m_scheduleTimer;
    bool m_started = false;
    bool m_checkInFlight = false;
    bool m_canCheckForUpdates = false;
    bool m_automaticallyChecksForUpdates = false;
    double m_updateCheckInterval = defaultUpdateCheckInterval;
    bool m_automaticallyDownloadsUpdates;
};

}  // namespace vantrell
