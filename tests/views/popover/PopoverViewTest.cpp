#include "views/popover/PopoverView.h"

#include "support/ui/StagedPopover.h"
#include "views/kit/FitLabel.h"
#include "views/popover/PopoverPositionList.h"
#include "views/portfolio/PositionSortMenu.h"
#include "views/portfolio/StatusLabelView.h"
#include "window/PopoverWindow.h"
#include "window/SceneContents.h"
#include "window/SceneHost.h"

#include <gtest/gtest.h>
#include <QFontMetrics>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <QToolButton>

using namespace vantrell;
using namespace vantrell::test;

namespace {

template <class T>
T* child(const QWidget& parent, const QString& name)
{
    auto* found = parent.findChild<T*>(name);
    EXPECT_NE(found, nullptr) << name.toStdString();
    return found;
}

QString labelText(const QWidget& parent, const QString& name)
{
    auto* label = child<FitLabel>(parent, name);
    return label ? label->text() : QString();
}

std::unique_ptr<PopoverView> makeView(StagedPopover& staged)
{
    auto view = std::make_unique<PopoverView>(staged.store(), staged.settings(), staged.floating(),
                                              staged.updates());
    view->show();
    return view;
}

TEST(PopoverViewTest, HeaderSaysNotConnectedOnlyWhileTheDataIsNotLive)
{
    StagedPopover staged;
    staged.holdings.stage(StagedHoldings::sample(Exchange::okx, 2));
    auto view = makeView(staged);
    EXPECT_EQ(labelText(*view, "popoverTitle"), "总资产（USD）");
    EXPECT_TRUE(child<FitLabel>(*view, "popoverNotConnected")->isVisible());
    EXPECT_EQ(labelText(*view, "popoverTotal"), "—");

    staged.holdings.refresh();
    view->render();
    EXPECT_FALSE(child<FitLabel>(*view, "popoverNotConnected")->isVisible());
    EXPECT_EQ(labelText(*view, "popoverTotal"), "$16,741.91");
    EXPECT_EQ(labelText(*view, "popoverCardTotal.okx"), "$16,741.91");
}

TEST(PopoverViewTest, AFailedExchangeSaysWhetherItKeepsEarlierData)
{
    StagedPopover staged;
    staged.holdings.stage(StagedHoldings::sample(Exchange::binance, 0));
    staged.holdings.refresh();
    staged.holdings.stageFailure(Exchange::binance);
    staged.holdings.stageFailure(Exchange::bitget);
    staged.holdings.refresh();
    auto view = makeView(staged);
    QCoreApplication::processEvents();

    auto* kept = child<StatusLabelView>(*view, "popoverCardStatus.binance");
    auto* none = child<StatusLabelView>(*view, "popoverCardStatus.bitget");
    ASSERT_TRUE(kept && none);
    EXPECT_EQ(kept->text(), "更新失败 · 保留上次数据");
    EXPECT_EQ(none->text(), "连接失败 · 查看设置");
    EXPECT_EQ(labelText(*view, "popoverCardTotal.binance"), "$11,631.91") << "last data stays";
    EXPECT_EQ(view->findChild<FitLabel*>("popoverCardTotal.bitget"), nullptr);
    auto* icon = none->findChild<QLabel*>();
    ASSERT_NE(icon, nullptr);
    EXPECT_EQ(none->status().symbol, "exclamationmark.triangle.fill");
    EXPECT_FALSE(icon->pixmap().isNull());
}

TEST(PopoverViewTest, TheBannerShowsOnlyWithAnUpdateAndChecksOnlyWhenItCan)
{
    for (const bool canCheck : {false, true}) {
        StagedPopover staged(canCheck);
        staged.holdings.transport.fail("GET", QStringLiteral("/feed.json"));
        auto view = makeView(staged);
        auto* banner = child<QPushButton>(*view, "popoverUpdateBanner");
        EXPECT_FALSE(banner->isVisible());
        const int heightWithout = view->height();

        staged.updates().setState(UpdateChecker::State::updateAvailable(QStringLiteral("1.2.3")));
        view->render();
        EXPECT_TRUE(banner->isVisible());
        EXPECT_EQ(banner->text(), "发现新版本 v1.2.3 · 安装");
        EXPECT_EQ(view->height(), heightWithout) << "both stay at the 420 minimum";

        const int requests = staged.holdings.transport.requestCount();
        QTest::mouseClick(banner, Qt::LeftButton);
        if (canCheck) {
            EXPECT_EQ(staged.holdings.transport.requestCount(), requests + 1);
            EXPECT_NE(staged.updates().state().kind(), UpdateChecker::State::Kind::updateAvailable);
            view->render();
            EXPECT_FALSE(banner->isVisible());
        } else {
            EXPECT_EQ(staged.holdings.transport.requestCount(), requests);
            EXPECT_EQ(staged.updates().state(),
                      UpdateChecker::State::updateAvailable(QStringLiteral("1.2.3")));
        }
    }
}

TEST(PopoverViewTest, TheRefreshButtonIsDisabledWhileRefreshing)
{
    StagedPopover staged;
    staged.holdings.setDelay(std::chrono::milliseconds(20));
    staged.holdings.stage(StagedHoldings::sample(Exchange::okx, 1));
    auto view = makeView(staged);
    auto* refresh = child<QToolButton>(*view, "popoverRefreshButton");
    EXPECT_TRUE(refresh->isEnabled());
    EXPECT_EQ(refresh->toolTip(), "刷新");

    QTest::mouseClick(refresh, Qt::LeftButton);
    ASSERT_TRUE(staged.store().isRefreshing()) << "the click started a refresh";
    view->render();
    EXPECT_FALSE(refresh->isEnabled());
    while (staged.store().isRefreshing()) {
        QCoreApplication::processEvents();
    }
    view->render();
    EXPECT_TRUE(refresh->isEnabled());
    EXPECT_EQ(labelText(*view, "popoverTotal"), "$16,741.91");
}

TEST(PopoverViewTest, TheSortMenuWritesTheSettingAndReordersTheRows)
{
    StagedPopover staged;
    staged.holdings.stage(StagedHoldings::sample(Exchange::okx, 5));
    staged.holdings.refresh();
    auto view = makeView(staged);
    auto* menu = child<PositionSortMenu>(*view, "positionSortMenu");
    auto* list = child<PopoverPositionList>(*view, "popoverPositionList");
    EXPECT_EQ(menu->text(), "排序");
    EXPECT_EQ(labelText(*view, "popoverPositionCount"), "5");
    EXPECT_FALSE(menu->itemFor(PositionSortMode::defaultOrder)->icon().isNull());

    menu->itemFor(PositionSortMode::pnlDescending)->trigger();
    EXPECT_EQ(staged.settings().positionSortMode(), PositionSortMode::pnlDescending);
    EXPECT_EQ(staged.holdings.defaults.value(QStringLiteral("positionSortMode")).toString(),
              toStored(PositionSortMode::pnlDescending));
    QCoreApplication::processEvents();
    EXPECT_EQ(menu->text(), "盈亏 ↓");
    EXPECT_TRUE(menu->itemFor(PositionSortMode::defaultOrder)->icon().isNull());
    EXPECT_FALSE(menu->itemFor(PositionSortMode::pnlDescending)->icon().isNull());
    const auto& rows = list->rows();
    ASSERT_EQ(rows.size(), 5u);
    std::vector<Decimal> pnls;
    for (const Position& p :
         staged.settings().sortedPositions(staged.store().snapshot().positions)) {
        pnls.push_back(p.unrealizedPnL);
    }
    EXPECT_TRUE(std::is_sorted(pnls.rbegin(), pnls.rend()));
    EXPECT_EQ(rows.front(),
              PopoverPositionRow::make(
                  staged.settings().sortedPositions(staged.store().snapshot().positions).front(),
                  AmountTexts::from(staged.settings())));
}

TEST(PopoverViewTest, EmptyPortfolioShowsTheNoPositionsTextAtTheMinimumHeight)
{
    StagedPopover staged;
    auto view = makeView(staged);
    EXPECT_TRUE(child<FitLabel>(*view, "popoverNoPositions")->isVisible());
    EXPECT_FALSE(child<PopoverPositionList>(*view, "popoverPositionList")->isVisible());
    EXPECT_EQ(view->size(), QSize(370, 420));
    EXPECT_EQ(child<QPushButton>(*view, "popoverFloatingButton")->text(), "打开悬浮窗");
}

TEST(PopoverViewTest, ThePeriodLineFollowsTheTotalAndTheSpacerTakesTheRest)
{
    StagedPopover staged;
    staged.holdings.setEarlierValue("15000");
    staged.holdings.stage(StagedHoldings::sample(Exchange::okx, 0));
    staged.holdings.refresh();
    auto view = makeView(staged);
    view->render();
    QCoreApplication::processEvents();
    auto* total = child<FitLabel>(*view, "popoverTotal");
    auto* period = child<FitLabel>(*view, "popoverPeriodLine");
    ASSERT_TRUE(total && period);
    ASSERT_TRUE(period->isVisible());
    EXPECT_EQ(total->width(), total->sizeHint().width());  // the total is never cut
    EXPECT_EQ(period->x(), total->geometry().right() + 1 + 9);
    EXPECT_EQ(period->width(), period->sizeHint().width());
}

TEST(PopoverViewTest, TheCardIconAndTheNoPositionsTextAreGivenTheirPadding)
{
    StagedPopover staged;
    staged.holdings.stage(StagedHoldings::sample(Exchange::okx, 0));
    staged.holdings.refresh();
    auto view = makeView(staged);
    view->render();
    QCoreApplication::processEvents();
    auto* icon = child<QWidget>(*view, "exchangeIcon.okx");
    ASSERT_NE(icon, nullptr);
    EXPECT_EQ(icon->size(), QSize(25, 26));  // 1 on top of the 25 badge
    auto* none = child<FitLabel>(*view, "popoverNoPositions");
    ASSERT_NE(none, nullptr);
    EXPECT_EQ(none->height(), QFontMetrics(none->font()).height() + 14);
}

TEST(PopoverViewTest, KeepsItsScrollPositionAcrossRenders)
{
    StagedPopover staged;
    staged.holdings.stage(StagedHoldings::sample(Exchange::okx, 30));
    staged.holdings.refresh();
    auto view = makeView(staged);
    view->setVisibleScreenHeight(600);
    EXPECT_EQ(view->height(), 572);
    QCoreApplication::processEvents();
    QScrollBar* bar = view->scrollArea()->verticalScrollBar();
    ASSERT_GT(bar->maximum(), 200);
    bar->setValue(200);
    staged.holdings.refresh();
    QCoreApplication::processEvents();
    view->render();
    EXPECT_EQ(bar->value(), 200);
}

TEST(PopoverViewTest, TheWindowHidesItselfBeforeAskingForAnotherWindow)
{
    StagedPopover staged;
    std::vector<std::pair<QString, bool>> asked;  // the scene, and whether the popover showed
    int quits = 0;
    PopoverWindow* window = nullptr;
    const SceneActions actions{
        [&](const QString& sceneId) { asked.emplace_back(sceneId, window->isVisible()); },
        [&] { ++quits; }};
    PopoverWindow popover(PopoverObjects{staged.store(), staged.floating(), staged.settings(),
                                         staged.updates(), actions},
                          &SceneContents::standardPopover);
    window = &popover;
    ASSERT_NE(popover.view(), nullptr);
    popover.open(std::nullopt, QPoint(10, 10), QRect(0, 0, 800, 600));
    ASSERT_TRUE(popover.isVisible());
    QTest::mouseClick(child<QPushButton>(popover, "popoverOpenMainButton"), Qt::LeftButton);

    popover.open(std::nullopt, QPoint(10, 10), QRect(0, 0, 800, 600));
    QTest::mouseClick(child<QToolButton>(popover, "popoverSettingsButton"), Qt::LeftButton);
    EXPECT_FALSE(popover.isVisible());
    EXPECT_EQ(asked, (std::vector<std::pair<QString, bool>>{{"main", false}, {"settings", false}}));
    EXPECT_EQ(quits, 0);
}

TEST(PopoverViewTest, TheWindowCapsTheViewAtItsScreenAcrossRebuilds)
{
    StagedPopover staged;
    staged.holdings.stage(StagedHoldings::sample(Exchange::okx, 30));
    staged.holdings.refresh();
    PopoverWindow popover(PopoverObjects{staged.store(), staged.floating(), staged.settings(),
                                         staged.updates(), SceneActions{}},
                          &SceneContents::standardPopover);
    popover.open(std::nullopt, QPoint(10, 10), QRect(0, 0, 800, 600));
    EXPECT_EQ(popover.size(), QSize(370, 572));
    staged.settings().setAppearance(AppearanceMode::dark);
    ASSERT_EQ(popover.host()->buildCount(), 2);
    QCoreApplication::processEvents();
    EXPECT_EQ(popover.view()->height(), 572) << "the new content keeps the screen's cap";
}

TEST(PopoverViewTest, PlacementSitsUnderTheIconOrAtThePointerInsideTheScreen)
{
    const QRect screen(0, 0, 1280, 800);
    const QSize size(370, 500);
    struct Case {
        std::optional<QRect> icon;
        QPoint pointer;
        QPoint expected;
    };
    const Case cases[] = {
        {QRect(600, 0, 24, 24), QPoint(5, 5), QPoint(427, 28)},     // centred under the icon
        {QRect(1260, 0, 20, 24), QPoint(5, 5), QPoint(910, 28)},    // kept off the right edge
        {std::nullopt, QPoint(100, 200), QPoint(100, 200)},         // at the pointer
        {QRect(), QPoint(1200, 700), QPoint(910, 300)},             // unknown icon, clamped
        {QRect(600, 780, 24, 20), QPoint(0, 0), QPoint(427, 300)},  // icon at the bottom
    };
    for (const Case& c : cases) {
        EXPECT_EQ(PopoverWindow::placement(c.icon, c.pointer, screen, size),
                  QRect(c.expected, size));
    }
    // A second screen to the right: the area's own origin counts.
    EXPECT_EQ(
        PopoverWindow::placement(std::nullopt, QPoint(1290, -5), QRect(1280, 0, 800, 600), size),
        QRect(QPoint(1290, 0), size));
}

}  // namespace
