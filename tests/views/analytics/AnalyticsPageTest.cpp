#include "views/analytics/AnalyticsPage.h"

#include "files/PortfolioDiskWriter.h"
#include "settings/ViewPreferences.h"
#include "support/FakeSaveLocationPrompt.h"
#include "support/PortfolioSamples.h"
#include "support/SpinUntil.h"
#include "support/StagedPortfolio.h"
#include "views/analytics/AnalyticsChartView.h"
#include "views/analytics/AnalyticsMetricCard.h"
#include "views/analytics/AnalyticsTexts.h"
#include "views/flows/CapitalFlowsDialog.h"
#include "views/kit/EmptyStateView.h"
#include "views/kit/FitLabel.h"
#include "views/kit/SegmentedControl.h"
#include "views/kit/VantrellPalette.h"

#include <QChart>
#include <QCoreApplication>
#include <QGraphicsScene>
#include <QGraphicsTextItem>
#include <QLabel>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

#include <gtest/gtest.h>

#include <functional>

using namespace vantrell;
using namespace vantrell::test;

namespace {

const QTimeZone utc(QByteArrayLiteral("UTC"));

QString cardValue(const QWidget& page, const QString& card)
{
    const auto* found = page.findChild<AnalyticsMetricCard*>(card);
    return found != nullptr ? found->value() : QStringLiteral("<missing>");
}

QString cardTitle(const QWidget& page, const QString& card)
{
    const auto* found = page.findChild<AnalyticsMetricCard*>(card);
    return found != nullptr ? found->title() : QStringLiteral("<missing>");
}

QString labelText(const QWidget& page, const QString& name)
{
    const auto* label = page.findChild<QLabel*>(name);
    return label != nullptr ? label->text() : QStringLiteral("<missing>");
}

QPushButton* button(const QWidget& page, const QString& name)
{
    return page.findChild<QPushButton*>(name);
}

void hover(AnalyticsChartView& chart, const QPointF& at)
{
    QMouseEvent move(QEvent::MouseMove, at, chart.viewport()->mapToGlobal(at), Qt::NoButton,
                     Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(chart.viewport(), &move);
}

void pickRange(AnalyticsPage& page, AnalyticsRange range)
{
    auto* picker = page.findChild<SegmentedControl*>(QStringLiteral("analyticsRangePicker"));
    ASSERT_NE(picker, nullptr);
    const auto index = std::find(allAnalyticsRanges.begin(), allAnalyticsRanges.end(), range) -
                       allAnalyticsRanges.begin();
    QTest::mouseClick(picker->segment(static_cast<int>(index)), Qt::LeftButton);
}

class AnalyticsPageTest : public ::testing::Test {
protected:
    // One refresh an hour with these Binance totals (OKX holds 1000 besides), ending now;
    // each refresh records a history point.
    void runHours(const std::vector<int>& binanceTotals)
    {
        staged.stage(Exchange::okx, "1000");
        for (std::size_t i = 0; i < binanceTotals.size(); ++i) {
            if (i > 0) {
                staged.clock.advance(3600);
            }
            staged.stage(Exchange::binance, std::to_string(binanceTotals[i]));
            staged.refresh();
        }
    }

    std::unique_ptr<AnalyticsPage> showPage()
    {
        auto page = std::make_unique<AnalyticsPage>(staged.store(), staged.settings(), preferences,
                                                    staged.clock);
        page->setTimeZone(utc);
        page->resize(760, 640);
        page->show();
        QCoreApplication::processEvents();
        return page;
    }

    StagedPortfolio staged;
    ViewPreferences preferences{staged.defaults};
};

TEST_F(AnalyticsPageTest, WithoutSamplesShowsTheEmptyStateAndPlaceholders)
{
    auto page = showPage();
    const auto* empty = page->findChild<EmptyStateView*>(QStringLiteral("analyticsEmptyState"));
    ASSERT_NE(empty, nullptr);
    EXPECT_TRUE(empty->isVisible());
    EXPECT_FALSE(page->chartView()->isVisible());
    EXPECT_EQ(empty->title(), QStringLiteral("暂无收益数据"));
    EXPECT_EQ(empty->description(), QStringLiteral("添加交易所后会自动开始统计。"));
    EXPECT_EQ(labelText(*page, QStringLiteral("analyticsSampleCount")),
              QStringLiteral("0 个数据点"));
    for (const char* card :
         {"analyticsCurrentAssets", "analyticsChange", "analyticsHigh", "analyticsLow"}) {
        EXPECT_EQ(cardValue(*page, QString::fromLatin1(card)), QStringLiteral("—")) << card;
    }
    EXPECT_FALSE(button(*page, QStringLiteral("analyticsExportButton"))->isEnabled());
    EXPECT_FALSE(page->findChild<QLabel*>(QStringLiteral("analyticsBadge"))->isVisible());

    // Configured but never fetched: the other description.
    staged.stage(Exchange::binance, "100");
    auto second = showPage();
    EXPECT_EQ(
        second->findChild<EmptyStateView*>(QStringLiteral("analyticsEmptyState"))->description(),
        QStringLiteral("尚未取得完整资产数据，请检查交易所连接状态。"));
}

TEST_F(AnalyticsPageTest, ShowsTheRangeFiguresAndRebuildsOnARangeChange)
{
    // Two days of hourly points: 49 samples, the last 25 within 24 hours.
    std::vector<int> totals;
    for (int hour = 0; hour <= 48; ++hour) {
        totals.push_back(10'000 + 100 * hour);
    }
    runHours(totals);
    auto page = showPage();
    pickRange(*page, AnalyticsRange::twentyFourHours);
    EXPECT_EQ(page->range(), AnalyticsRange::twentyFourHours);
    EXPECT_EQ(labelText(*page, QStringLiteral("analyticsSampleCount")),
              QStringLiteral("25 个数据点"));
    EXPECT_EQ(cardTitle(*page, QStringLiteral("analyticsChange")), QStringLiteral("24 小时变化"));
    EXPECT_EQ(cardValue(*page, QStringLiteral("analyticsCurrentAssets")),
              QStringLiteral("$15,800.00"));
    EXPECT_EQ(cardValue(*page, QStringLiteral("analyticsHigh")), QStringLiteral("$15,800.00"));
    EXPECT_EQ(cardValue(*page, QStringLiteral("analyticsLow")), QStringLiteral("$13,400.00"));
    EXPECT_EQ(
        page->findChild<AnalyticsMetricCard*>(QStringLiteral("analyticsChange"))->valueColor(),
        VantrellPalette::gain());
    EXPECT_EQ(labelText(*page, QStringLiteral("analyticsBadge")), QStringLiteral("较起点 +17.91%"));
    EXPECT_TRUE(button(*page, QStringLiteral("analyticsExportButton"))->isEnabled());
    EXPECT_TRUE(page->chartView()->isVisible());

    pickRange(*page, AnalyticsRange::sevenDays);
    EXPECT_EQ(labelText(*page, QStringLiteral("analyticsSampleCount")),
              QStringLiteral("49 个数据点"));
    EXPECT_EQ(cardTitle(*page, QStringLiteral("analyticsChange")), QStringLiteral("7 天变化"));
    EXPECT_EQ(cardValue(*page, QStringLiteral("analyticsLow")), QStringLiteral("$11,000.00"));
    EXPECT_EQ(page->chartData().points.size(), 49u);
}

// At the main window's compact width (840 less the widest sidebar) every time label of the
// axis is drawn whole, the last one included; a long change figure shrinks as far as the cards
// allow, then elides.
TEST_F(AnalyticsPageTest, CompactWidthKeepsTheAxisLabelsWhole)
{
    staged.stage(Exchange::okx, "1000");
    for (int hour = 0; hour <= 24; ++hour) {
        if (hour > 0) {
            staged.clock.advance(3600);
        }
        staged.stage(Exchange::binance, hour == 24 ? "35326.86" : "27896.30");
        staged.refresh();
    }
    auto page = showPage();
    pickRange(*page, AnalyticsRange::twentyFourHours);
    page->resize(840 - 166, 550);
    QCoreApplication::processEvents();

    const auto* change = page->findChild<FitLabel*>(QStringLiteral("analyticsChange.value"));
    ASSERT_NE(change, nullptr);
    EXPECT_EQ(change->text(), QStringLiteral("+$7,430.56  (+25.71%)"));

    AnalyticsChartView* chart = page->chartView();
    const QStringList labels = chart->chart()
                                   ->axes(Qt::Horizontal)
                                   .constFirst()
                                   ->property("categoriesLabels")
                                   .toStringList();
    ASSERT_GE(labels.size(), 3);
    const QRectF visible = chart->viewport()->rect();
    int drawn = 0;
    for (QGraphicsItem* item : chart->scene()->items()) {
        const auto* text = dynamic_cast<QGraphicsTextItem*>(item);
        if (text == nullptr || !text->isVisible() || !labels.contains(text->toPlainText())) {
            continue;
        }
        ++drawn;
        const QRectF box = chart->mapFromScene(text->sceneBoundingRect()).boundingRect();
        EXPECT_TRUE(visible.contains(box)) << text->toPlainText().toStdString() << " right "
                                           << box.right() << " of " << visible.right();
    }
    EXPECT_EQ(drawn, labels.size());
}

TEST_F(AnalyticsPageTest, PointerSelectsTheNearestPointUntilTheRangeChanges)
{
    runHours({10'000, 10'300, 10'100, 10'600, 10'400});
    auto page = showPage();
    pickRange(*page, AnalyticsRange::twentyFourHours);
    AnalyticsChartView& chart = *page->chartView();
    const std::vector<AnalyticsChartPoint> points = page->chartData().points;
    ASSERT_EQ(points.size(), 5u);
    EXPECT_FALSE(chart.annotationTexts());

    // A little right of the third point, still nearer to it than to the fourth.
    const QPointF third = chart.positionOf(points[2].date, points[2].value);
    const QPointF fourth = chart.positionOf(points[3].date, points[3].value);
    hover(chart, QPointF(third.x() + (fourth.x() - third.x()) * 0.3, third.y()));
    ASSERT_TRUE(chart.selectedPoint());
    EXPECT_EQ(chart.selectedPoint()->date, points[2].date);
    EXPECT_EQ(chart.annotationTexts(),
              QStringList({AnalyticsTexts::selectionDateLabel(
                               points[2].date, AnalyticsRange::twentyFourHours, QLocale(), utc),
                           QStringLiteral("$11,100.00")}));

    // A refresh keeps the selection; a range change drops it.
    staged.clock.advance(600);
    staged.refresh();
    QCoreApplication::processEvents();
    EXPECT_TRUE(chart.selectedDate());
    pickRange(*page, AnalyticsRange::sevenDays);
    EXPECT_FALSE(chart.selectedDate());
    EXPECT_FALSE(chart.annotationTexts());

    // Leaving the chart lets go of the selection too.
    hover(chart, chart.positionOf(points[1].date, points[1].value));
    EXPECT_TRUE(chart.annotationTexts());
    QEvent leave(QEvent::Leave);
    QCoreApplication::sendEvent(&chart, &leave);
    EXPECT_FALSE(chart.annotationTexts());
}

TEST_F(AnalyticsPageTest, FlowSettingTakesFlowsOutOfTheChange)
{
    runHours({10'000, 10'500, 11'000});
    staged.store().addCapitalFlow(Decimal(400), staged.clock.now().addingSeconds(-1800));
    auto page = showPage();
    const QString change = QStringLiteral("analyticsChange");
    EXPECT_EQ(cardTitle(*page, change), QStringLiteral("今日变化"));
    const QString gross = cardValue(*page, change);
    EXPECT_TRUE(gross.startsWith(QStringLiteral("+$1,000.00"))) << gross.toStdString();

    preferences.setAdjustExternalFlows(true);
    QCoreApplication::processEvents();
    EXPECT_EQ(cardTitle(*page, change), QStringLiteral("今日净资产变化"));
    const QString net = cardValue(*page, change);
    EXPECT_TRUE(net.startsWith(QStringLiteral("+$600.00"))) << net.toStdString();

    preferences.setAdjustExternalFlows(false);
    QCoreApplication::processEvents();
    EXPECT_EQ(cardValue(*page, change), gross);
}

TEST_F(AnalyticsPageTest, FlowCountAndCurrencyAreRebuildTriggers)
{
    preferences.setAdjustExternalFlows(true);
    runHours({10'000, 10'500});
    auto page = showPage();
    const QString change = QStringLiteral("analyticsChange");
    EXPECT_TRUE(cardValue(*page, change).startsWith(QStringLiteral("+$500.00")));

    staged.store().addCapitalFlow(Decimal(100), staged.clock.now().addingSeconds(-60));
    QCoreApplication::processEvents();
    EXPECT_TRUE(cardValue(*page, change).startsWith(QStringLiteral("+$400.00")))
        << cardValue(*page, change).toStdString();

    // A display currency without a rate leaves no point to draw; the samples still count.
    staged.settings().setDisplayCurrency(DisplayCurrency::cny);
    QCoreApplication::processEvents();
    EXPECT_TRUE(page->chartData().points.empty());
    EXPECT_EQ(labelText(*page, QStringLiteral("analyticsSampleCount")),
              QStringLiteral("2 个数据点"));
    const auto* empty = page->findChild<EmptyStateView*>(QStringLiteral("analyticsEmptyState"));
    EXPECT_TRUE(empty->isVisible());
    EXPECT_EQ(empty->description(), QStringLiteral("尚未取得完整资产数据，请检查交易所连接状态。"));
    EXPECT_EQ(cardValue(*page, QStringLiteral("analyticsHigh")), QStringLiteral("—"));
    EXPECT_EQ(cardValue(*page, QStringLiteral("analyticsCurrentAssets")), QStringLiteral("—"));
}

TEST_F(AnalyticsPageTest, CapitalFlowsButtonOpensTheSheetOnce)
{
    auto page = showPage();
    QPushButton* flows = button(*page, QStringLiteral("analyticsCapitalFlowsButton"));
    QTest::mouseClick(flows, Qt::LeftButton);
    QPointer<CapitalFlowsDialog> sheet = page->capitalFlowsSheet();
    ASSERT_TRUE(sheet);
    EXPECT_TRUE(sheet->isVisible());
    QTest::mouseClick(flows, Qt::LeftButton);
    EXPECT_EQ(page->findChildren<CapitalFlowsDialog*>().size(), 1);
    sheet->reject();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(sheet);
    EXPECT_EQ(page->capitalFlowsSheet(), nullptr);
}

// A store whose export asks the fake prompt, over a history of the last hour.
class ExportingStore {
public:
    ExportingStore()
    {
        const Date now = staged.clock.now();
        PortfolioStore::Services services(staged.defaults, staged.clock, staged.notifier,
                                          SupportFolder(folder.path()));
        services.writer = &writer;
        services.savePrompt = &prompt;
        services.timeZone = utc;
        auto provider = FakeExchangeProvider::returning(sampleProviderSnapshot(Exchange::binance));
        store = std::make_unique<PortfolioStore>(
            LocalCredentialStore(staged.defaults),
            [provider](const LocalCredentialStore&,
                       Exchange exchange) -> std::shared_ptr<const ExchangeProvider> {
                return exchange == Exchange::binance ? provider : nullptr;
            },
            std::move(services), false,
            std::vector<PortfolioValuePoint>{{now.addingSeconds(-3600), Decimal(900)},
                                             {now.addingSeconds(-1800), Decimal(950)}});
        QCoro::waitFor(store->refreshNow(true));
    }
    ~ExportingStore()
    {
        store.reset();
        writer.flush();
    }

    StagedPortfolio staged;
    FakeSaveLocationPrompt prompt;
    QTemporaryDir folder;
    PortfolioDiskWriter writer;
    std::unique_ptr<PortfolioStore> store;
};

class AnalyticsExportTest : public ::testing::TestWithParam<int> {
protected:
    std::unique_ptr<AnalyticsPage> showPage()
    {
        auto page = std::make_unique<AnalyticsPage>(*exporting.store, exporting.staged.settings(),
                                                    preferences, exporting.staged.clock);
        page->setTimeZone(utc);
        page->resize(760, 640);
        page->show();
        QCoreApplication::processEvents();
        return page;
    }
    // Exports into a folder that does not exist, so the write fails.
    void failExport(AnalyticsPage& page)
    {
        QPushButton* exportButton = button(page, QStringLiteral("analyticsExportButton"));
        ASSERT_TRUE(exportButton->isEnabled());
        QTest::mouseClick(exportButton, Qt::LeftButton);
        ASSERT_EQ(exporting.prompt.proposedNames().size(), 1);
        ASSERT_TRUE(exporting.prompt.answer(exporting.folder.filePath(QStringLiteral("no/x.csv"))));
        ASSERT_TRUE(spinUntil([&] { return exporting.store->exportError().has_value(); }));
    }

    ExportingStore exporting;
    ViewPreferences preferences{exporting.staged.defaults};
};

QMessageBox* openAlert(const QWidget& page)
{
    return page.findChild<QMessageBox*>(QStringLiteral("exportErrorBox"));
}

TEST_P(AnalyticsExportTest, FailureAlertClearsTheErrorHoweverItCloses)
{
    auto page = showPage();
    failExport(*page);
    QMessageBox* box = openAlert(*page);
    ASSERT_NE(box, nullptr);
    EXPECT_TRUE(box->isVisible());
    EXPECT_EQ(box->windowTitle(), QStringLiteral("导出失败"));
    EXPECT_EQ(box->text(), *exporting.store->exportError());
    EXPECT_FALSE(box->text().isEmpty());
    const std::vector<std::function<void(QMessageBox*)>> dismissals{
        [](QMessageBox* alert) {
            QTest::mouseClick(alert->findChild<QPushButton*>(QStringLiteral("exportErrorOkButton")),
                              Qt::LeftButton);
        },
        [](QMessageBox* alert) { QTest::keyClick(alert, Qt::Key_Escape); },
        [](QMessageBox* alert) { alert->close(); },
    };
    dismissals.at(static_cast<std::size_t>(GetParam()))(box);
    QCoreApplication::processEvents();
    EXPECT_FALSE(exporting.store->exportError());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(openAlert(*page), nullptr);
}

INSTANTIATE_TEST_SUITE_P(Dismissals, AnalyticsExportTest, ::testing::Values(0, 1, 2));

TEST_F(AnalyticsExportTest, AnErrorWhileHiddenWaitsForThePage)
{
    auto page = showPage();
    page->hide();
    failExport(*page);
    EXPECT_EQ(openAlert(*page), nullptr);
    EXPECT_TRUE(exporting.store->exportError());  // showing nothing clears nothing
    page->show();
    QCoreApplication::processEvents();
    ASSERT_NE(openAlert(*page), nullptr);
    EXPECT_TRUE(openAlert(*page)->isVisible());
}

}  // namespace
