// The tray popover, light and dark: with data (one exchange failed but keeping its data, one
// without any), with the update banner, and before any exchange is connected.

#include "support/ui/Screenshot.h"
#include "support/ui/ScreenshotScenes.h"
#include "support/ui/StagedPopover.h"
#include "views/kit/WindowAppearanceBridge.h"
#include "views/popover/PopoverView.h"

#include <QCoreApplication>

using namespace vantrell;
using namespace vantrell::test;

namespace {

enum class Content { data, change, banner, empty };

void stageData(StagedPopover& staged)
{
    StagedHoldings& holdings = staged.holdings;
    holdings.setEarlierValue("60000");
    holdings.stage(StagedHoldings::sample(Exchange::binance, 4));
    holdings.stage(StagedHoldings::sample(Exchange::okx, 3));
    holdings.stage(StagedHoldings::sample(Exchange::bybit, 0));
    holdings.refresh();
    holdings.stageFailure(Exchange::okx);
    holdings.stageFailure(Exchange::gateio);
    holdings.refresh();
}

// Every exchange answers, so the period's change is known.
void stageChange(StagedPopover& staged)
{
    StagedHoldings& holdings = staged.holdings;
    holdings.setEarlierValue("31000");
    holdings.stage(StagedHoldings::sample(Exchange::binance, 2));
    holdings.stage(StagedHoldings::sample(Exchange::bybit, 0));
    holdings.refresh();
}

QImage popoverScene(AppearanceMode mode, Content content)
{
    StagedPopover staged;
    if (content == Content::change) {
        stageChange(staged);
    } else if (content != Content::empty) {
        stageData(staged);
    }
    if (content == Content::banner) {
        staged.updates().setState(UpdateChecker::State::updateAvailable(QStringLiteral("1.4.2")));
    }
    PopoverView view(staged.store(), staged.settings(), staged.floating(), staged.updates());
    view.setVisibleScreenHeight(900);
    WindowAppearanceBridge::apply(&view, mode);
    view.show();
    QCoreApplication::processEvents();
    view.render();
    const QColor backdrop =
        mode == AppearanceMode::dark ? QColor(0x3A, 0x3F, 0x4A) : QColor(0xC9, 0xD3, 0xDF);
    return Screenshot::onBackdrop(Screenshot::grab(view), backdrop);
}

bool registerPopoverScenes()
{
    for (AppearanceMode mode : {AppearanceMode::light, AppearanceMode::dark}) {
        for (auto [content, name] :
             {std::pair{Content::data, "data"}, std::pair{Content::change, "change"},
              std::pair{Content::banner, "banner"}, std::pair{Content::empty, "empty"}}) {
            ScreenshotScenes::add(
                QStringLiteral("popover-%1-%2").arg(QLatin1String(name), toStored(mode)),
                [=] { return popoverScene(mode, content); });
        }
    }
    return true;
}

const bool registered = registerPopoverScenes();

}  // namespace
