// The analytics page with a day of history (with a selected point) and without any, and the
// capital-flow sheet with records and empty; each light and dark.

#include "settings/ViewPreferences.h"
#include "support/StagedPortfolio.h"
#include "support/ui/Screenshot.h"
#include "support/ui/ScreenshotScenes.h"
#include "views/analytics/AnalyticsChartView.h"
#include "views/analytics/AnalyticsPage.h"
#include "views/flows/CapitalFlowsDialog.h"
#include "views/kit/SegmentedControl.h"
#include "views/kit/WindowAppearanceBridge.h"

#include <QCoreApplication>
#include <QMouseEvent>

#include <cmath>
#include <string>

using namespace vantrell;
using namespace vantrell::test;

namespace {

const QTimeZone utc(QByteArrayLiteral("UTC"));

// One refresh every half hour for a day, the Binance total drifting up with a dip midway.
void stageDay(StagedPortfolio& staged)
{
    staged.stageAllExchanges();
    for (int step = 0; step < 48; ++step) {
        const double drift = 160.0 * step - 2600.0 * std::exp(-std::pow((step - 26) / 5.0, 2));
        const long cents = std::lround((12'500.40 + drift + 90 * std::sin(step * 0.9)) * 100);
        const std::string total =
            std::to_string(cents / 100) + '.' + std::to_string(100 + cents % 100).substr(1);
        staged.stage(Exchange::binance, total);
        staged.refresh();
        if (step < 47) {
            staged.clock.advance(1800);
        }
    }
    staged.store().addCapitalFlow(Decimal(1500), staged.clock.now().addingSeconds(-30'000));
    staged.store().addCapitalFlow(*Decimal::parse("-250.5"),
                                  staged.clock.now().addingSeconds(-9000));
}

QColor backdropFor(AppearanceMode mode)
{
    return mode == AppearanceMode::dark ? QColor(0x3A, 0x3F, 0x4A) : QColor(0xC9, 0xD3, 0xDF);
}

QImage pageScene(AppearanceMode mode, bool withData)
{
    StagedPortfolio staged;
    if (withData) {
        stageDay(staged);
    }
    ViewPreferences preferences(staged.defaults);
    AnalyticsPage page(staged.store(), staged.settings(), preferences, staged.clock);
    page.setTimeZone(utc);
    WindowAppearanceBridge::apply(&page, mode);
    page.resize(760, 640);
    page.show();
    QCoreApplication::processEvents();
    page.findChild<SegmentedControl*>(QStringLiteral("analyticsRangePicker"))->setCurrentIndex(1);
    QCoreApplication::processEvents();
    if (withData) {
        AnalyticsChartView* chart = page.chartView();
        const AnalyticsChartPoint point = page.chartData().points.at(30);
        const QPointF at = chart->positionOf(point.date, point.value);
        QMouseEvent move(QEvent::MouseMove, at, chart->viewport()->mapToGlobal(at), Qt::NoButton,
                         Qt::NoButton, Qt::NoModifier);
        QCoreApplication::sendEvent(chart->viewport(), &move);
        QCoreApplication::processEvents();
    }
    return Screenshot::grab(page);
}

QImage sheetScene(AppearanceMode mode, bool withRecords)
{
    StagedPortfolio staged;
    staged.stage(Exchange::binance, "12500.40");
    if (withRecords) {
        const Date now = staged.clock.now();
        staged.store().addCapitalFlow(Decimal(1000), now.addingSeconds(-86'400 * 3));
        staged.store().addCapitalFlow(*Decimal::parse("-250.5"), now.addingSeconds(-86'400));
        staged.store().addCapitalFlow(*Decimal::parse("3200.75"), now.addingSeconds(-3600));
    }
    CapitalFlowsDialog sheet(staged.store(), staged.clock);
    WindowAppearanceBridge::apply(&sheet, mode);
    sheet.show();
    QCoreApplication::processEvents();
    return Screenshot::onBackdrop(Screenshot::grab(sheet), backdropFor(mode));
}

bool registerAnalyticsScenes()
{
    for (AppearanceMode mode : {AppearanceMode::light, AppearanceMode::dark}) {
        const QString look = toStored(mode);
        ScreenshotScenes::add(QStringLiteral("analytics-%1-data").arg(look),
                              [=] { return pageScene(mode, true); });
        ScreenshotScenes::add(QStringLiteral("analytics-%1-empty").arg(look),
                              [=] { return pageScene(mode, false); });
        ScreenshotScenes::add(QStringLiteral("capital-flows-%1-records").arg(look),
                              [=] { return sheetScene(mode, true); });
        ScreenshotScenes::add(QStringLiteral("capital-flows-%1-empty").arg(look),
                              [=] { return sheetScene(mode, false); });
    }
    return true;
}

const bool registered = registerAnalyticsScenes();

}  // namespace
