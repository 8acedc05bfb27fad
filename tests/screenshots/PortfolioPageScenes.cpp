// The main window's portfolio pages, light and dark: with data (one exchange failed but keeping
// its data, one without any, one with all four account types), and before any exchange is
// connected.

#include "support/StagedHoldings.h"
#include "support/ui/Screenshot.h"
#include "support/ui/ScreenshotScenes.h"
#include "views/kit/WindowAppearanceBridge.h"
#include "views/portfolio/AssetBalancesView.h"
#include "views/portfolio/ExchangeDetailView.h"
#include "views/portfolio/OverviewDashboard.h"
#include "views/portfolio/PositionsListView.h"

#include <QCoreApplication>

#include <functional>
#include <memory>

using namespace vantrell;
using namespace vantrell::test;

namespace {

using PageMaker = std::function<std::unique_ptr<QWidget>(StagedHoldings&)>;

void stageData(StagedHoldings& holdings)
{
    holdings.setEarlierValue("60000");
    holdings.stage(StagedHoldings::sample(Exchange::binance, 4));
    holdings.stage(StagedHoldings::sample(Exchange::okx, 3));
    holdings.stage(StagedHoldings::sample(Exchange::bybit, 2));
    holdings.stage(StagedHoldings::fullSample(Exchange::bitget, 0));
    holdings.refresh();
    holdings.stageFailure(Exchange::okx);
    holdings.stageFailure(Exchange::gateio);
    holdings.refresh();
}

QImage pageScene(const PageMaker& make, AppearanceMode mode, bool withData, QSize size)
{
    StagedHoldings holdings;
    if (withData) {
        stageData(holdings);
    }
    std::unique_ptr<QWidget> page = make(holdings);
    page->resize(size);
    WindowAppearanceBridge::apply(page.get(), mode);
    page->show();
    // A scroll bar that appears can change the overview's column count, which takes a few
    // turns of the event loop to settle.
    for (int i = 0; i < 6; ++i) {
        QCoreApplication::processEvents();
    }
    return Screenshot::grab(*page);
}

bool registerPageScenes()
{
    const std::vector<std::tuple<QString, PageMaker, QSize>> pages = {
        {QStringLiteral("overview"),
         [](StagedHoldings& h) {
             return std::make_unique<OverviewDashboard>(h.store(), h.settings(), h.clock);
         },
         QSize(760, 900)},
        {QStringLiteral("overview-wide"),
         [](StagedHoldings& h) {
             return std::make_unique<OverviewDashboard>(h.store(), h.settings(), h.clock);
         },
         QSize(840, 900)},
        {QStringLiteral("positions"),
         [](StagedHoldings& h) {
             return std::make_unique<PositionsListView>(h.store(), h.settings(), h.credentials());
         },
         QSize(760, 560)},
        {QStringLiteral("assets"),
         [](StagedHoldings& h) {
             return std::make_unique<AssetBalancesView>(h.store(), h.settings(), h.credentials());
         },
         QSize(760, 560)},
        {QStringLiteral("exchange-okx"),
         [](StagedHoldings& h) {
             return std::make_unique<ExchangeDetailView>(h.store(), h.settings(), Exchange::okx);
         },
         QSize(760, 900)},
        {QStringLiteral("exchange-gateio"),
         [](StagedHoldings& h) {
             return std::make_unique<ExchangeDetailView>(h.store(), h.settings(), Exchange::gateio);
         },
         QSize(760, 500)},
    };
    for (const auto& [name, make, size] : pages) {
        for (AppearanceMode mode : {AppearanceMode::light, AppearanceMode::dark}) {
            for (bool withData : {true, false}) {
                ScreenshotScenes::add(
                    QStringLiteral("page-%1-%2-%3")
                        .arg(name, withData ? QStringLiteral("data") : QStringLiteral("empty"),
                             toStored(mode)),
                    [=] { return pageScene(make, mode, withData, size); });
            }
        }
    }
    return true;
}

const bool registered = registerPageScenes();

}  // namespace
