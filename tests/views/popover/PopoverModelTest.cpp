#include "views/popover/PopoverModel.h"

#include "support/ScopedDefaultLocale.h"

#include <gtest/gtest.h>

#include <vector>

using namespace vantrell;

namespace {

using State = ExchangeRefreshStatus::State;
using Tone = StatusLabel::Tone;

Decimal dec(const char* text)
{
    return *Decimal::parse(text);
}

Position position(const char* symbol, const char* pnl, const char* percent)
{
    Position p;
    p.exchange = Exchange::okx;
    p.symbol = QString::fromUtf8(symbol);
    p.quantity = dec("0.5");
    p.markPrice = dec("60000");
    p.unrealizedPnL = dec(pnl);
    p.pnlPercent = dec(percent);
    return p;
}

// Binance live (failed since), OKX configured without data.
PortfolioReading reading()
{
    PortfolioReading r;
    r.snapshot.isLive = true;
    r.snapshot.totalValue = dec("2000");
    ExchangeAccount binance{
        Exchange::binance, dec("2000"), dec("-1.5"), {{AccountType::spot, dec("2000")}}};
    r.snapshot.exchanges = {binance};
    r.snapshot.positions = {position("A", "-3.2", "-1.1"), position("B", "0", "0"),
                            position("C", "7", "2.345")};
    r.configuredExchanges = {Exchange::binance, Exchange::okx};
    r.statuses[Exchange::binance] = {State::failed(u"boom"_qs), std::nullopt, {}};
    r.statuses[Exchange::okx] = {State::failed(u"boom"_qs), std::nullopt, {}};
    r.displayedPnL = dec("25");
    r.displayedChangePercent = dec("1.25");
    return r;
}

class PopoverModelTest : public ::testing::Test {
protected:
    test::ScopedDefaultLocale locale{u"en_US"_qs};
    const QString minus = QLocale().negativeSign();
};

}  // namespace

TEST_F(PopoverModelTest, HeaderOfALivePortfolio)
{
    const DisplayContext display{{DisplayCurrency::usdt, {}},
                                 PerformancePeriod::twentyFourHours,
                                 PositionSortMode::defaultOrder};
    const PopoverModel model = PopoverModel::build(reading(), display, {});
    EXPECT_EQ(model.title, u"总资产（USDT）"_qs);
    EXPECT_FALSE(model.showsNotConnected);
    EXPECT_EQ(model.totalText, u"USDT 2,000.00"_qs);
    EXPECT_EQ(model.totalTint, ChangeTint::gain);
    EXPECT_EQ(model.periodLine, u"24h +USDT 25.00  (+1.25%)"_qs);
    EXPECT_EQ(model.periodLineTint, ChangeTint::gain);
}

TEST_F(PopoverModelTest, HeaderWhenNotLive)
{
    PortfolioReading r = reading();
    r.snapshot.isLive = false;
    r.displayedPnL.reset();
    r.displayedChangePercent.reset();
    r.isRefreshing = true;
    const PopoverModel model = PopoverModel::build(r, {}, {});
    EXPECT_TRUE(model.showsNotConnected);
    EXPECT_EQ(model.totalText, u"—"_qs);
    EXPECT_EQ(model.totalTint, ChangeTint::primary);
    EXPECT_FALSE(model.periodLine);
    EXPECT_TRUE(model.isRefreshing);
}

TEST_F(PopoverModelTest, FailedExchangeTextsWithAndWithoutData)
{
    const PopoverModel model = PopoverModel::build(reading(), {}, {});
    ASSERT_EQ(model.cards.size(), 2u);
    const PopoverModel::ExchangeCard& binance = model.cards[0];
    EXPECT_TRUE(binance.hasData);
    EXPECT_EQ(binance.totalText, u"$2,000.00"_qs);
    EXPECT_EQ(binance.totalTint, ChangeTint::loss);
    EXPECT_EQ(binance.changeText, u"-1.50%"_qs);
    EXPECT_EQ(binance.accountRows, (std::vector<AccountRow>{{u"现货"_qs, u"$2,000.00"_qs}}));
    EXPECT_EQ(binance.status, (StatusLabel{u"更新失败 · 保留上次数据"_qs,
                                           u"exclamationmark.triangle.fill"_qs, Tone::red}));
    const PopoverModel::ExchangeCard& okx = model.cards[1];
    EXPECT_FALSE(okx.hasData);
    EXPECT_EQ(okx.status->text, u"连接失败 · 查看设置"_qs);
}

TEST_F(PopoverModelTest, StatusTables)
{
    EXPECT_FALSE(PopoverModel::statusLine(State::connected()));
    EXPECT_FALSE(PopoverModel::statusLine(State::connecting()));
    EXPECT_EQ(PopoverModel::statusLine(State::unconfigured()),
              (StatusLabel{u"未配置 API"_qs, u"key"_qs, Tone::secondary}));
    EXPECT_EQ(PopoverModel::unavailableStatus(State::unconfigured()).text, u"未配置 API"_qs);
    EXPECT_EQ(PopoverModel::unavailableStatus(State::connecting()),
              (StatusLabel{u"正在连接…"_qs, u"arrow.triangle.2.circlepath"_qs, Tone::orange}));
    EXPECT_EQ(PopoverModel::unavailableStatus(State::connected()),
              (StatusLabel{u"暂无账户资产"_qs, u"tray"_qs, Tone::secondary}));
}

TEST_F(PopoverModelTest, PositionsCardInSortOrderWithItsSignRules)
{
    const DisplayContext byProfit{{}, PerformancePeriod::today, PositionSortMode::pnlDescending};
    const PopoverModel model = PopoverModel::build(reading(), byProfit, {});
    EXPECT_EQ(model.positionCountText, u"3"_qs);
    EXPECT_EQ(model.sortShortText, u"盈亏 ↓"_qs);
    ASSERT_EQ(model.positionRows.size(), 3u);
    const PopoverPositionRow& first = model.positionRows[0];
    EXPECT_EQ(first.symbol, u"C"_qs);
    EXPECT_EQ(first.pnl, u"+$7.00 (+2.35%)"_qs);
    EXPECT_EQ(first.markPrice, u"标记价 $60,000.00"_qs);
    EXPECT_EQ(first.quantity, u"数量 0.5"_qs);
    EXPECT_EQ(first.value, u"$30,000.00"_qs);
    EXPECT_EQ(model.positionRows[1].pnl, u"+$0.00 (0.00%)"_qs);
    EXPECT_EQ(model.positionRows[1].pnlTint, ChangeTint::gain);
    EXPECT_EQ(model.positionRows[2].pnl, minus + u"$3.20 (-1.10%)"_qs);
    EXPECT_EQ(model.positionRows[2].pnlTint, ChangeTint::loss);

    const DisplayContext asGiven{{}, PerformancePeriod::today, PositionSortMode::defaultOrder};
    EXPECT_EQ(PopoverModel::build(reading(), asGiven, {}).positionRows[0].symbol, u"A"_qs);
}

TEST_F(PopoverModelTest, BannerActionAndHeight)
{
    PopoverModel::Extras extras;
    const PopoverModel plain = PopoverModel::build(reading(), {}, extras);
    EXPECT_FALSE(plain.bannerText);
    EXPECT_EQ(plain.floatingActionText, u"打开悬浮窗"_qs);
    // 3 positions, one card with one account row, one without data.
    EXPECT_EQ(plain.height, std::max(39 * 3 + 48 + 80 + 68 + 134, 420));

    extras.availableVersion = u"1.2.3"_qs;
    extras.isFloatingVisible = true;
    extras.visibleScreenHeight = 400;
    const PopoverModel withBanner = PopoverModel::build(reading(), {}, extras);
    EXPECT_EQ(withBanner.bannerText, u"发现新版本 v1.2.3 · 安装"_qs);
    EXPECT_EQ(withBanner.floatingActionText, u"关闭悬浮窗"_qs);
    EXPECT_EQ(withBanner.height, 420);
}
