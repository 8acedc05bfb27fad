#pragma once

#include "services/NullUpdateUserDriver.h"
#include "services/UpdateChecker.h"
#include "support/StagedHoldings.h"
#include "window/FloatingPanel.h"
#include "window/FloatingWindowController.h"

#include <QUrl>

#include <memory>

namespace vantrell::test {

// The four objects the popover shows, over a StagedHoldings store: stage the holdings first,
// then ask for the view's objects. The update checker's feed address is empty unless
// `canCheck`, so its updater cannot check.
//
//     StagedPopover staged;
//     staged.holdings.stage(StagedHoldings::sample(Exchange::okx, 3));
//     staged.holdings.refresh();
//     PopoverView view(staged.store(), staged.settings(), staged.floating(), staged.updates());
class StagedPopover {
public:
    explicit StagedPopover(bool canCheck = false);
    ~StagedPopover();

    PortfolioStore& store() { return holdings.store(); }
    AppSettings& settings() { return holdings.settings(); }
    FloatingWindowController& floating();
    UpdateChecker& updates();

    StagedHoldings holdings;

private:
    NullUpdateUserDriver m_driver;
    QUrl m_feed;
    std::unique_ptr<FloatingWindowController> m_floating;
    std::unique_ptr<UpdateChecker> m_updates;
};

}  // namespace vantrell::test
