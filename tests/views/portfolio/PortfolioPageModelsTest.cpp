#include "views/portfolio/ExchangeDetailModel.h"
#include "views/portfolio/OverviewModel.h"

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

ExchangeAccount account(Exchange exchange, const char* total,
                        std::vector<AccountBreakdown> accounts = {})
{
    return {exchange, dec(total), std::nullopt, std::move(accounts)};
}

Position position(Exchange exchange, const char* symbol, const char* notional)
{
    Position p;
    p.exchange = exchange;
    p.symbol = QString::fromUtf8(symbol);
    p.notionalValueUSD = dec(notional);
    return p;
}

AssetBalance balance(Exchange exchange, const char* asset, const char* value)
{
    AssetBalance b;
    b.exchange = exchange;
    b.asset = QString::fromUtf8(asset);
    b.valueInUSD = dec(value);
    b.quantity = dec("1");
    return b;
}

// OKX live with two account types, Bybit configured without data and refreshing.
PortfolioReading liveReading()
{
    PortfolioReading reading;
    reading.snapshot.isLive = true;
    reading.snapshot.totalValue = dec("1500");
    reading.snapshot.exchanges = {
        account(Exchange::okx, "1500",
                {{AccountType::spot, dec("1200")}, {AccountType::futures, dec("300")}}),
        account(Exchange::okx, "1")};  // only the first account of an exchange counts
    reading.snapshot.positions = {position(Exchange::okx, "SMALL", "10"),
                                  position(Exchange::bybit, "LARGE", "900")};
    reading.configuredExchanges = {Exchange::okx, Exchange::bybit};
    reading.statuses[Exchange::okx] = {State::failed(u"timeout"_qs), std::nullopt, {}};
    reading.statuses[Exchange::bybit] = {State::connecting(), std::nullopt, {}};
    reading.displayedPnL = dec("-12.5");
    reading.displayedChangePercent = dec("-0.83");
    return reading;
}

const DisplayContext usdToday{
    {DisplayCurrency::usd, {}}, PerformancePeriod::today, PositionSortMode::valueDescending};

class PortfolioPageModelsTest : public ::testing::Test {
protected:
    test::ScopedDefaultLocale locale{u"en_US"_qs};
};

}  // namespace

TEST_F(PortfolioPageModelsTest, OverviewWithoutExchangesIsNotConnected)
{
    PortfolioReading reading;  // the store's empty snapshot
    const OverviewModel model = OverviewModel::build(reading, {}, {});
    EXPECT_TRUE(model.showsNotConnectedBadge);
    EXPECT_EQ(model.totalText, u"—"_qs);
    EXPECT_EQ(model.totalTint, ChangeTint::primary);
    EXPECT_FALSE(model.periodLine);
    EXPECT_TRUE(model.cards.empty());
    EXPECT_TRUE(model.positionRows.empty());
    EXPECT_EQ(model.trendTitle, u"24h 资产曲线"_qs);
    EXPECT_EQ(model.refreshButtonText, u"刷新"_qs);
    EXPECT_TRUE(model.refreshEnabled);
    EXPECT_TRUE(model.lastUpdatedText.startsWith(u"最后更新 "_qs));
}

TEST_F(PortfolioPageModelsTest, OverviewHeaderFollowsThePeriodAndTheChangeFigures)
{
    PortfolioReading reading = liveReading();
    reading.isRefreshing = true;
    const OverviewModel model = OverviewModel::build(reading, usdToday, {1.0, 2.0});
    EXPECT_FALSE(model.showsNotConnectedBadge);
    EXPECT_EQ(model.totalText, u"$1,500.00"_qs);
    EXPECT_EQ(model.totalTint, ChangeTint::loss);
    EXPECT_EQ(model.sparklineTint, ChangeTint::loss);
    EXPECT_EQ(model.sparklineValues, (std::vector<double>{1.0, 2.0}));
    EXPECT_EQ(model.trendTitle, u"今日 资产曲线"_qs);
    EXPECT_EQ(model.periodLine, u"今日 -$12.50  (-0.83%)"_qs);
    EXPECT_EQ(model.periodLineTint, ChangeTint::loss);
    EXPECT_EQ(model.refreshButtonText, u"正在刷新"_qs);
    EXPECT_FALSE(model.refreshEnabled);

    // Without the profit the line goes but the tints still follow the percent.
    reading.displayedPnL.reset();
    const OverviewModel withoutPnL = OverviewModel::build(reading, usdToday, {});
    EXPECT_FALSE(withoutPnL.periodLine);
    EXPECT_EQ(withoutPnL.totalTint, ChangeTint::loss);
    reading.displayedChangePercent.reset();
    EXPECT_EQ(OverviewModel::build(reading, usdToday, {}).totalTint, ChangeTint::primary);
}

TEST_F(PortfolioPageModelsTest, OverviewCardsFollowTheConfiguredExchanges)
{
    const OverviewModel model = OverviewModel::build(liveReading(), usdToday, {});
    ASSERT_EQ(model.cards.size(), 2u);

    // A failed refresh keeps the live card while data exists.
    const OverviewModel::ExchangeCard& okx = model.cards[0];
    EXPECT_TRUE(okx.isLive);
    EXPECT_EQ(okx.name, u"OKX"_qs);
    EXPECT_EQ(okx.totalText, u"$1,500.00"_qs);
    EXPECT_EQ(okx.totalTint, ChangeTint::primary);
    EXPECT_FALSE(okx.changeText);
    EXPECT_EQ(okx.barFractions, (std::vector<double>{0.8, 0.2}));
    EXPECT_EQ(okx.accountRows, (std::vector<AccountRow>{{u"现货"_qs, u"$1,200.00"_qs},
                                                        {u"合约"_qs, u"$300.00"_qs}}));

    const OverviewModel::ExchangeCard& bybit = model.cards[1];
    EXPECT_FALSE(bybit.isLive);
    EXPECT_EQ(bybit.status,
              (StatusLabel{u"正在连接…"_qs, u"arrow.triangle.2.circlepath"_qs, Tone::orange}));

    // Positions in the chosen order, with the card's sign rule.
    ASSERT_EQ(model.positionRows.size(), 2u);
    EXPECT_EQ(model.positionRows[0].symbol, u"LARGE"_qs);
    EXPECT_EQ(model.positionRows[0].pnl, u"+$0.00"_qs);
}

TEST_F(PortfolioPageModelsTest, OverviewLiveCardChangeAndBar)
{
    ExchangeAccount flat = account(Exchange::binance, "0", {{AccountType::spot, dec("0")}});
    flat.dailyChangePercent = dec("0");
    const OverviewModel::ExchangeCard zero = OverviewModel::liveCard(flat, {});
    EXPECT_EQ(zero.changeText, u"0.00%"_qs);
    EXPECT_EQ(zero.changeTint, ChangeTint::gain);
    EXPECT_EQ(zero.totalTint, ChangeTint::gain);
    EXPECT_TRUE(zero.barFractions.empty());  // grey bar
    EXPECT_EQ(zero.accountRows.size(), 1u);

    flat.dailyChangePercent = dec("1.25");
    EXPECT_EQ(OverviewModel::liveCard(flat, {}).changeText, u"+1.25%"_qs);

    EXPECT_EQ(OverviewModel::segmentWidths({0.5, 0.001, -0.2}, 200),
              (std::vector<double>{99, 2, 2}));
}

TEST_F(PortfolioPageModelsTest, OverviewUnavailableStatusTable)
{
    EXPECT_EQ(OverviewModel::unavailableStatus(State::unconfigured()),
              (StatusLabel{u"未配置只读 API"_qs, u"key"_qs, Tone::secondary}));
    EXPECT_EQ(OverviewModel::unavailableStatus(State::connected()),
              (StatusLabel{u"暂无账户资产"_qs, u"tray"_qs, Tone::secondary}));
    EXPECT_EQ(OverviewModel::unavailableStatus(State::failed(u"any"_qs)).text,
              u"连接失败，请在设置中查看"_qs);
}

TEST_F(PortfolioPageModelsTest, ExchangePageWithoutAccountNamesTheExchange)
{
    const ExchangeDetailModel model =
        ExchangeDetailModel::build(Exchange::bybit, liveReading(), usdToday);
    EXPECT_FALSE(model.hasAccount);
    EXPECT_EQ(model.noAccount.title, u"暂无账户数据"_qs);
    EXPECT_EQ(model.noAccount.description, u"请在“交易所管理”中配置 Bybit。"_qs);
    EXPECT_EQ(model.status.text, u"更新中"_qs);
    EXPECT_TRUE(model.metrics.empty());
    EXPECT_TRUE(model.positionRows.empty());
}

TEST_F(PortfolioPageModelsTest, ExchangePageListsOnlyItsOwnRowsInOrder)
{
    PortfolioReading reading = liveReading();
    reading.snapshot.balances = {
        balance(Exchange::okx, "A", "5"), balance(Exchange::bybit, "X", "99"),
        balance(Exchange::okx, "B", "7"), balance(Exchange::okx, "C", "5")};
    reading.snapshot.positions.push_back(position(Exchange::okx, "BIG", "50"));
    const ExchangeDetailModel model = ExchangeDetailModel::build(Exchange::okx, reading, usdToday);
    EXPECT_TRUE(model.hasAccount);
    EXPECT_EQ(model.status,
              (StatusLabel{u"timeout"_qs, u"exclamationmark.triangle.fill"_qs, Tone::red}));
    EXPECT_EQ(model.metrics,
              (std::vector<ExchangeDetailModel::Metric>{{u"总资产"_qs, u"$1,500.00"_qs},
                                                        {u"现货"_qs, u"$1,200.00"_qs},
                                                        {u"合约"_qs, u"$300.00"_qs}}));
    std::vector<QString> assets;
    for (const auto& row : model.assetRows) {
        assets.push_back(row.asset);
    }
    EXPECT_EQ(assets, (std::vector<QString>{u"B"_qs, u"A"_qs, u"C"_qs}));
    ASSERT_EQ(model.positionRows.size(), 2u);
    EXPECT_EQ(model.positionRows[0].symbol, u"BIG"_qs);
    EXPECT_EQ(model.positionRows[1].pnl, u"$0.00"_qs);  // the table's sign rule
}

TEST_F(PortfolioPageModelsTest, ExchangePageBadgeTable)
{
    EXPECT_EQ(ExchangeDetailModel::statusBadge(State::unconfigured()),
              (StatusLabel{u"未配置"_qs, u"key"_qs, Tone::secondary}));
    EXPECT_EQ(ExchangeDetailModel::statusBadge(State::connected()),
              (StatusLabel{u"已连接"_qs, u"checkmark.circle.fill"_qs, Tone::green}));
}
