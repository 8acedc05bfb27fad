#pragma once

#include "views/analytics/FileDialogSaveLocationPrompt.h"
#include "views/update/UpdateDialogs.h"
#include "window/SceneContents.h"

#include <QObject>

#include <chrono>
#include <memory>

namespace vantrell {

class AppSettings;
class DefaultsStore;
class FloatingWindowController;
class IdleMemoryRelease;
class Notifier;
class PortfolioStore;
class ReferralLinkStore;
class SceneRegistry;
class UpdateChecker;
class ViewPreferences;
class WakeMonitor;

// The running program: one each of the portfolio store, the floating-panel controller, the
// settings, the update checker and the referral links (made in that order, over the user's
// defaults and data folder), and the scenes that show them.
//
// With a tray the program keeps running when its windows close and ends through "退出";
// without one it ends when its last window closes.
class Application : public QObject {
    Q_OBJECT

public:
    static constexpr std::chrono::milliseconds writeDrainTimeout{3000};
    // After a refresh cycle, time for its writes and renders before its memory is given back.
    static constexpr std::chrono::milliseconds idleMemoryReleaseDelay{2000};

    explicit Application(SceneContents contents, QObject* parent = nullptr);
    ~Application() override;

    // Shows the main window.
    void start();
    // Brings the main window to the front (a second start asked for it).
    void activate();
    // Ends the event loop; pending file writes are finished on the way out.
    void quit();
    // At quit: waits, at most writeDrainTimeout, for the data files asked for so far to be
    // written (false when the disk did not finish in time), then ends the transfers still open,
    // so nothing that awaits a reply stays suspended once the event loop has stopped.
    bool windDown();

    SceneRegistry& scenes() { return *m_scenes; }

private:
    DefaultsStore& m_defaults;
    std::unique_ptr<Notifier> m_notifier;
    std::unique_ptr<WakeMonitor> m_wakeMonitor;
    FileDialogSaveLocationPrompt m_savePrompt;
    UpdateDialogs m_updateDialogs;
    std::unique_ptr<PortfolioStore> m_store;
    std::unique_ptr<IdleMemoryRelease> m_idleMemoryRelease;
    std::unique_ptr<FloatingWindowController> m_floatingWindow;
    std::unique_ptr<AppSettings> m_settings;
    std::unique_ptr<UpdateChecker> m_updateChecker;
    std::unique_ptr<ReferralLinkStore> m_referralLinks;
    std::unique_ptr<ViewPreferences> m_viewPreferences;
    std::unique_ptr<SceneRegistry> m_scenes;
};

}  // namespace vantrell
