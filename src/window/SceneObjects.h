#pragma once

#include <QString>

#include <functional>

namespace vantrell {

class AppSettings;
class DefaultsStore;
class FloatingWindowController;
class Notifier;
class PortfolioStore;
class ReferralLinkStore;
class UpdateChecker;
class ViewPreferences;

// The long-lived model objects each scene's content may use; all of them live on the main
// thread for the whole run. Only the main window reaches the referral links.

// What the popover asks of the program: open the scene "main" or "settings", or quit.
struct SceneActions {
    std::function<void(const QString& sceneId)> openWindow;
    std::function<void()> quit;
};

struct PopoverObjects {
    PortfolioStore& store;
    FloatingWindowController& floatingWindow;
    AppSettings& settings;
    UpdateChecker& updateChecker;
    SceneActions actions;
};

// The settings form's objects, in the settings window and in the main window's settings
// section alike.
struct SettingsObjects {
    PortfolioStore& store;
    AppSettings& settings;
    UpdateChecker& updateChecker;
    ViewPreferences& viewPreferences;  // the flow adjustment and the alert thresholds
    Notifier& notifier;                // asks for notification permission
};

struct MainWindowObjects {
    PortfolioStore& store;
    FloatingWindowController& floatingWindow;
    AppSettings& settings;
    UpdateChecker& updateChecker;
    ReferralLinkStore& referralLinks;
    ViewPreferences& viewPreferences;
    Notifier& notifier;
    DefaultsStore& credentialDefaults;  // where the stored credentials are

    SettingsObjects settingsObjects() const
    {
        return {store, settings, updateChecker, viewPreferences, notifier};
    }
};

}  // namespace vantrell
