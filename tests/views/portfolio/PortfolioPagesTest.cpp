#include "support/StagedHoldings.h"
#include "views/kit/EmptyStateView.h"
#include "views/kit/FitLabel.h"
#include "views/portfolio/AssetBalancesView.h"
#include "views/portfolio/ExchangeDetailView.h"
#include "views/portfolio/OverviewDashboard.h"
#include "views/portfolio/OverviewExchangeCard.h"
#include "views/portfolio/PortfolioFilterBar.h"
#include "views/portfolio/PositionRowsView.h"
#include "views/portfolio/PositionSortMenu.h"
#include "views/portfolio/PositionsListView.h"
#include "views/portfolio/StatusLabelView.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPointer>
#include <QRegularExpression>
#include <QStackedWidget>
#include <QTest>
#include <algorithm>

using namespace vantrell;
using namespace vantrell::test;

namespace {

QString labelText(const QWidget& parent, const char* name)
{
    auto* label = parent.findChild<FitLabel*>(QString::fromLatin1(name));
    EXPECT_NE(label, nullptr) << name;
    return label ? label->text() : QString();
}

const EmptyStateView* shownEmptyState(const QWidget& page)
{
    auto* stack = page.findChild<QStackedWidget*>();
    return stack ? qobject_cast<const EmptyStateView*>(stack->currentWidget()) : nullptr;
}

void stageThree(StagedHoldings& holdings)
{
    holdings.stage(StagedHoldings::sample(Exchange::binance, 4));
    holdings.stage(StagedHoldings::sample(Exchange::okx, 3));
    holdings.stage(StagedHoldings::sample(Exchange::bybit, 2));
    holdings.refresh();
}

TEST(PortfolioPagesTest, PositionsFollowTheSortMenuAndKeepTheFilterAcrossRefreshes)
{
    StagedHoldings holdings;
    stageThree(holdings);
    PositionsListView page(holdings.store(), holdings.settings(), holdings.credentials());
    page.show();
    EXPECT_EQ(page.filteredPositions(), holdings.store().snapshot().positions);
    EXPECT_EQ(labelText(page, "positionsCount"), "9");

    auto* menu = page.findChild<PositionSortMenu*>();
    menu->itemFor(PositionSortMode::valueDescending)->trigger();
    EXPECT_EQ(holdings.settings().positionSortMode(), PositionSortMode::valueDescending);
    const auto& sorted = page.filteredPositions();
    ASSERT_EQ(sorted.size(), 9u);
    for (std::size_t i = 1; i < sorted.size(); ++i) {
        EXPECT_GE(sorted[i - 1].positionValueUSD(), sorted[i].positionValueUSD());
    }

    // The user picks OKX: the list narrows and the choice survives a refresh.
    auto* exchanges = page.findChild<QComboBox*>(QStringLiteral("filterExchangePicker"));
    ASSERT_EQ(exchanges->count(), 4);
    exchanges->setCurrentIndex(2);
    Q_EMIT exchanges->activated(2);
    EXPECT_EQ(page.filter().exchange, Exchange::okx);
    EXPECT_EQ(labelText(page, "positionsCount"), "3 / 9");
    holdings.clock.advance(30);
    holdings.refresh();
    EXPECT_EQ(page.filter().exchange, Exchange::okx);
    EXPECT_EQ(exchanges->currentText(), "OKX");
    EXPECT_EQ(page.filteredPositions().size(), 3u);

    // Leaving the page and coming back starts with no filter.
    page.hide();
    page.show();
    EXPECT_EQ(page.filter(), PortfolioFilter{});
    EXPECT_EQ(exchanges->currentIndex(), 0);
    EXPECT_EQ(labelText(page, "positionsCount"), "9");
}

TEST(PortfolioPagesTest, PositionsRebuildOnlyOnTheirTriggers)
{
    StagedHoldings holdings;
    stageThree(holdings);
    PositionsListView page(holdings.store(), holdings.settings(), holdings.credentials());
    page.show();
    const int afterShow = page.rebuildCount();
    holdings.settings().setDisplayCurrency(DisplayCurrency::eur);
    holdings.settings().setPerformancePeriod(PerformancePeriod::today);
    QCoreApplication::processEvents();
    EXPECT_EQ(page.rebuildCount(), afterShow) << "texts change, the list does not";
    page.findChild<QLineEdit*>(QStringLiteral("filterSearchField"))
        ->setText(QStringLiteral("  eth "));
    EXPECT_EQ(page.rebuildCount(), afterShow + 1);
    EXPECT_EQ(page.filter().query, "  eth ");
}

TEST(PortfolioPagesTest, AFilterValueThatNoLongerExistsStaysWithNothingSelected)
{
    StagedHoldings holdings;
    stageThree(holdings);
    AssetBalancesView page(holdings.store(), holdings.settings(), holdings.credentials());
    page.show();
    auto* exchanges = page.findChild<QComboBox*>(QStringLiteral("filterExchangePicker"));
    exchanges->setCurrentIndex(3);
    Q_EMIT exchanges->activated(3);
    ASSERT_EQ(page.filter().exchange, Exchange::bybit);

    holdings.stageFailure(Exchange::binance);  // still configured
    holdings.refresh();
    auto* bar = page.findChild<PortfolioFilterBar*>();
    bar->repopulate();
    EXPECT_EQ(page.filter().exchange, Exchange::bybit);
    EXPECT_EQ(exchanges->currentText(), "Bybit");
}

TEST(PortfolioPagesTest, ListPagesShowTheirEmptyStates)
{
    StagedHoldings holdings;
    PositionsListView positions(holdings.store(), holdings.settings(), holdings.credentials());
    AssetBalancesView assets(holdings.store(), holdings.settings(), holdings.credentials());
    positions.show();
    assets.show();
    ASSERT_NE(shownEmptyState(positions), nullptr);
    EXPECT_EQ(shownEmptyState(positions)->title(), "暂无持仓");
    EXPECT_EQ(labelText(positions, "positionsCount"), "0");
    ASSERT_NE(shownEmptyState(assets), nullptr);
    EXPECT_EQ(shownEmptyState(assets)->title(), "暂无资产明细");
    EXPECT_TRUE(assets.findChild<QCheckBox*>(QStringLiteral("filterHideSmallSwitch")));
    EXPECT_FALSE(assets.findChild<QComboBox*>(QStringLiteral("filterSidePicker")));

    stageThree(holdings);
    positions.findChild<QLineEdit*>()->setText(QStringLiteral("nothing like this"));
    assets.findChild<QLineEdit*>()->setText(QStringLiteral("nothing like this"));
    EXPECT_EQ(shownEmptyState(positions)->title(), "没有匹配的持仓");
    EXPECT_EQ(labelText(positions, "positionsCount"), "0 / 9");
    EXPECT_EQ(shownEmptyState(assets)->title(), "没有匹配的资产");
    EXPECT_EQ(shownEmptyState(assets)->description(), "尝试其他关键词，或清除筛选条件。");
}

TEST(PortfolioPagesTest, TheOverviewRefreshIsDisabledWhileRefreshing)
{
    StagedHoldings holdings;
    holdings.setDelay(std::chrono::milliseconds(20));
    holdings.stage(StagedHoldings::sample(Exchange::okx, 1));
    OverviewDashboard page(holdings.store(), holdings.settings(), holdings.clock);
    page.show();
    EXPECT_TRUE(page.findChild<QWidget*>(QStringLiteral("overviewNotConnected"))->isVisible());
    EXPECT_EQ(labelText(page, "overviewTotal"), "—");
    EXPECT_TRUE(labelText(page, "overviewEmptyHint").startsWith("添加交易所后"));
    QAction* refresh = page.refreshAction();
    EXPECT_EQ(refresh->text(), "刷新");

    refresh->trigger();
    ASSERT_TRUE(holdings.store().isRefreshing());
    page.render();
    EXPECT_FALSE(refresh->isEnabled());
    EXPECT_EQ(refresh->text(), "正在刷新");
    while (holdings.store().isRefreshing()) {
        QCoreApplication::processEvents();
    }
    page.render();
    EXPECT_TRUE(refresh->isEnabled());
    EXPECT_FALSE(page.findChild<QWidget*>(QStringLiteral("overviewNotConnected"))->isVisible());
    EXPECT_EQ(labelText(page, "overviewCardTotal.okx"), "$16,741.91");
    EXPECT_EQ(page.findChild<PositionRowsView*>()->rows().size(), 1u);
}

TEST(PortfolioPagesTest, OverviewCardsGrowToTheirAccountRows)
{
    StagedHoldings holdings;
    for (Exchange exchange : {Exchange::binance, Exchange::okx, Exchange::bybit}) {
        holdings.stage(StagedHoldings::sample(exchange, 0));
    }
    holdings.stage(StagedHoldings::fullSample(Exchange::bitget, 0));
    holdings.stageFailure(Exchange::gateio);
    holdings.refresh();
    OverviewDashboard page(holdings.store(), holdings.settings(), holdings.clock);
    page.resize(760, 600);  // the page scrolls: its cards get their least height
    page.show();
    for (int turn = 0; turn < 6; ++turn) {
        QCoreApplication::processEvents();
    }
    auto* three = page.findChild<QWidget*>(QStringLiteral("overviewCard.binance"));
    auto* four = page.findChild<QWidget*>(QStringLiteral("overviewCard.bitget"));
    ASSERT_TRUE(three && four);
    EXPECT_EQ(three->height(), 160);
    EXPECT_GT(four->height(), 160);
    EXPECT_GE(four->height(), four->sizeHint().height());
    // Title and total sit where they sit in every card: nothing is squeezed.
    const auto totalTop = [](QWidget* card, const QString& name) {
        return card->findChild<QWidget*>(name)->mapTo(card, QPoint()).y();
    };
    EXPECT_EQ(totalTop(four, QStringLiteral("overviewCardTotal.bitget")),
              totalTop(three, QStringLiteral("overviewCardTotal.binance")));
    const QList<QWidget*> cards =
        page.findChild<QWidget*>(QStringLiteral("overviewExchangeGrid"))
            ->findChildren<QWidget*>(QRegularExpression(QStringLiteral("^overviewCard\\.")),
                                     Qt::FindDirectChildrenOnly);
    ASSERT_EQ(cards.size(), 5);
    for (QWidget* card : cards) {
        for (QWidget* other : cards) {
            EXPECT_TRUE(card == other || !card->geometry().intersects(other->geometry()))
                << card->objectName().toStdString() << " overlaps "
                << other->objectName().toStdString();
        }
    }
}

TEST(PortfolioPagesTest, TheExchangePageShowsItsStatusAndWhetherItHasData)
{
    StagedHoldings holdings;
    stageThree(holdings);
    holdings.stageFailure(Exchange::gateio);
    holdings.refresh();
    ExchangeDetailView okx(holdings.store(), holdings.settings(), Exchange::okx);
    ExchangeDetailView gate(holdings.store(), holdings.settings(), Exchange::gateio);
    EXPECT_EQ(okx.findChild<StatusLabelView*>(QStringLiteral("exchangeStatusBadge"))->text(),
              "已连接");
    EXPECT_EQ(okx.findChildren<FitLabel*>(QStringLiteral("exchangeMetricTitle")).size(), 4);
    EXPECT_EQ(okx.findChild<PositionRowsView*>()->rows().size(), 3u);

    auto* badge = gate.findChild<StatusLabelView*>(QStringLiteral("exchangeStatusBadge"));
    EXPECT_EQ(badge->status().tone, StatusLabel::Tone::red);
    const QString message = holdings.store().status(Exchange::gateio).state.message;
    EXPECT_FALSE(message.isEmpty());
    EXPECT_EQ(badge->text(), message) << "the failure text, unchanged";
    auto* empty = gate.findChild<EmptyStateView*>(QStringLiteral("exchangeNoAccount"));
    ASSERT_NE(empty, nullptr);
    EXPECT_EQ(empty->title(), "暂无账户数据");
    EXPECT_EQ(empty->description(), "请在“交易所管理”中配置 Gate.io。");

    // A sort change made anywhere reorders this page.
    holdings.settings().setPositionSortMode(PositionSortMode::pnlAscending);
    QCoreApplication::processEvents();
    const auto& rows = okx.findChild<PositionRowsView*>()->rows();
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows.front().pnlTint, ChangeTint::loss);
}

}  // namespace

namespace {

std::vector<QPointer<OverviewExchangeCard>> overviewCards(const OverviewDashboard& page)
{
    std::vector<QPointer<OverviewExchangeCard>> cards;
    for (OverviewExchangeCard* card : page.findChildren<OverviewExchangeCard*>()) {
        cards.emplace_back(card);
    }
    return cards;
}

bool allAlive(const std::vector<QPointer<OverviewExchangeCard>>& cards)
{
    return std::all_of(cards.begin(), cards.end(), [](const auto& card) { return !card.isNull(); });
}

TEST(PortfolioPagesTest, TheOverviewMakesItsCardsAgainOnlyWhenTheyChange)
{
    StagedHoldings holdings;
    stageThree(holdings);
    OverviewDashboard page(holdings.store(), holdings.settings(), holdings.clock);
    page.show();
    const auto first = overviewCards(page);
    ASSERT_EQ(first.size(), 3u);

    holdings.refresh();  // the same data again
    QCoreApplication::processEvents();
    EXPECT_TRUE(allAlive(first)) << "the same cards show the same data";

    ExchangeProviderSnapshot okx = StagedHoldings::sample(Exchange::okx, 3);
    okx.account.totalValue = okx.account.totalValue + Decimal(1000);
    holdings.stage(okx);
    holdings.refresh();
    QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(allAlive(first)) << "a changed total makes the cards again";
    EXPECT_EQ(labelText(page, "overviewCardTotal.okx"), "$17,741.91");

    const auto second = overviewCards(page);
    page.setPalette(QPalette(Qt::darkBlue));
    QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(allAlive(second)) << "new colours make the cards again";
}

}  // namespace
