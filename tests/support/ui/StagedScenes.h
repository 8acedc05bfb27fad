#pragma once

#include "services/NullUpdateUserDriver.h"
#include "services/ReferralLinkStore.h"
#include "services/UpdateChecker.h"
#include "settings/ViewPreferences.h"
#include "support/StagedPortfolio.h"
#include "window/FloatingPanel.h"
#include "window/FloatingWindowController.h"
#include "window/SceneObjects.h"

namespace vantrell::test {

// Every model object a scene of the program takes, over a StagedPortfolio: the staged store
// and settings, plus a floating-panel controller, an update checker and referral links that
// never reach the network, and the shared view preferences.
//
//     StagedScenes scenes;
//     scenes.staged.stage(Exchange::okx, "8320.15");
//     MainWindowView view(scenes.mainWindowObjects(), MainWindowPages{}, scenes.staged.defaults);
class StagedScenes {
public:
    StagedScenes();
    ~StagedScenes();
    StagedScenes(const StagedScenes&) = delete;
    StagedScenes& operator=(const StagedScenes&) = delete;

    MainWindowObjects mainWindowObjects();

    StagedPortfolio staged;
    NullUpdateUserDriver updateDriver;
    FloatingWindowController floatingWindow{staged.defaults};
    UpdateChecker updateChecker;
    ReferralLinkStore referralLinks;
    ViewPreferences viewPreferences{staged.defaults};
};

}  // namespace vantrell::test
