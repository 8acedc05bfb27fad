#pragma once

#include "models/Date.h"
#include "services/UpdaterController.h"
#include "services/UpdaterDelegate.h"

#include <QMetaType>
#include <QObject>
#include <QString>
#include <QUrl>

#include <optional>

namespace vantrell {

// Connects the program to the update layer: owns its controller, starts it with the stored
// automatic-check preference and the daily interval, mirrors two of the updater's switches and
// turns the layer's outcomes into one published state. It schedules nothing itself. Main
// thread only.
class UpdateChecker : public QObject, public UpdaterDelegate {
    Q_OBJECT

public:
    class State {
    public:
        enum class Kind { idle, checking, upToDate, updateAvailable, failed };

        static State idle() { return State(Kind::idle); }
        static State checking() { return State(Kind::checking); }
        static State upToDate() { return State(Kind::upToDate); }
        static State updateAvailable(const QString& version)
        {
            return State(Kind::updateAvailable, version);
        }
        static State failed(const QString& message) { return State(Kind::failed, message); }

        Kind kind() const { return m_kind; }
        // The found version or the failure text; empty for the other cases. Plain text only.
        const QString& text() const { return m_text; }

        friend bool operator==(const State&, const State&) = default;

    private:
        explicit State(Kind kind, QString text = {}) : m_kind(kind), m_text(std::move(text)) {}

        Kind m_kind;
        QString m_text;
    };

    // Creates, starts and configures the controller. The environment's objects must outlive
    // this checker.
    explicit UpdateChecker(const UpdaterEnvironment& environment, QObject* parent = nullptr);

    State state() const { return m_state; }
    // Views set `checking` when they start a check.
    void setState(const State& state);
    // Mirrors of the updater's switches; they follow the updater on the next turn of the event
    // loop. Decisions ask the updater itself.
    bool canCheckForUpdates() const { return m_canCheckForUpdates; }
    bool automaticallyDownloadsUpdates() const { return m_automaticallyDownloadsUpdates; }
    // Only ever an https address.
    std::optional<QUrl> releaseNotesURL() const { return m_releaseNotesURL; }
    // When the last check ended, scheduled or manual.
    std::optional<Date> lastCheckedAt() const { return m_lastCheckedAt; }

    UpdaterController& updaterController() { return *m_updaterController; }

    // The application's version, "0.1.0" when it has none.
    static QString currentVersion();

    // The check behind the update buttons: nothing while the updater cannot check now;
    // otherwise the state becomes `checking` and the controller's check runs.
    void checkForUpdates();

    void didFindValidUpdate(Updater& updater, const UpdateItem& item) override;
    void updaterDidNotFindUpdate(Updater& updater, const UpdaterError& error) override;
    void didAbortWithError(Updater& updater, const UpdaterError& error) override;

Q_SIGNALS:
    void stateChanged();
    void canCheckForUpdatesChanged();
    void automaticallyDownloadsUpdatesChanged();
    void releaseNotesURLChanged();
    void lastCheckedAtChanged();

private:
    void observeUpdater();
    void setCanCheckForUpdates(bool value);
    void setAutomaticallyDownloadsUpdates(bool value);
    void setReleaseNotesURL(const std::optional<QUrl>& url);
    void markChecked();

    const Clock& m_clock;
    State m_state = State::idle();
    bool m_canCheckForUpdates = false;
    bool m_automaticallyDownloadsUpdates = false;
    std::optional<QUrl> m_releaseNotesURL;
    std::optional<Date> m_lastCheckedAt;
    UpdaterController* m_updaterController = nullptr;
};

}  // namespace vantrell
