#include "views/portfolio/AssetListModel.h"
#include "views/portfolio/ListCountText.h"
#include "views/portfolio/PositionListModel.h"

#include <gtest/gtest.h>

#include <optional>
#include <vector>

using namespace vantrell;

// Filters are written with designated initializers; the members left out keep their defaults,
// which g++ 12 still reports.
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"

namespace {

Decimal dec(const char* text)
{
    return *Decimal::parse(text);
}

Position position(Exchange exchange, const char* symbol, std::optional<QString> accountID,
                  std::optional<QString> alias, PositionSide side = PositionSide::long_)
{
    Position p;
    p.exchange = exchange;
    p.symbol = QString::fromUtf8(symbol);
    p.accountID = std::move(accountID);
    p.accountAlias = std::move(alias);
    p.side = side;
    return p;
}

Position valued(const char* symbol, const char* notional, const char* pnl)
{
    Position p = position(Exchange::okx, symbol, u"okx"_qs, u"默认账户"_qs);
    p.notionalValueUSD = dec(notional);
    p.unrealizedPnL = dec(pnl);
    return p;
}

AssetBalance balance(const char* asset, const char* value, const char* quantity = "1",
                     Exchange exchange = Exchange::binance,
                     std::optional<QString> accountID = u"binance"_qs,
                     std::optional<QString> alias = u"默认账户"_qs)
{
    AssetBalance b;
    b.exchange = exchange;
    b.asset = QString::fromUtf8(asset);
    b.valueInUSD = dec(value);
    b.quantity = dec(quantity);
    b.accountID = std::move(accountID);
    b.accountAlias = std::move(alias);
    return b;
}

std::vector<QString> symbolsOf(const std::vector<Position>& positions)
{
    std::vector<QString> symbols;
    for (const Position& p : positions) {
        symbols.push_back(p.symbol);
    }
    return symbols;
}

std::vector<QString> assetsOf(const std::vector<AssetBalance>& balances)
{
    std::vector<QString> assets;
    for (const AssetBalance& b : balances) {
        assets.push_back(b.asset);
    }
    return assets;
}

// A main-account position on Gate, one of an additional account on Bybit, and one without
// account fields.
std::vector<Position> mixedPositions()
{
    return {position(Exchange::gateio, "BTCUSDT", u"gateio"_qs, u"默认账户"_qs),
            position(Exchange::bybit, "ETHUSDT", u"A-1"_qs, u"Swing desk"_qs, PositionSide::short_),
            position(Exchange::okx, "SOLUSDT", std::nullopt, std::nullopt)};
}

}  // namespace

TEST(PositionFilterTest, KeepsThePositionsEachFilterAllows)
{
    struct Case {
        const char* name;
        PortfolioFilter filter;
        std::vector<QString> expected;
    };
    const std::vector<Case> cases{
        {"empty filter", {}, {u"BTCUSDT"_qs, u"ETHUSDT"_qs, u"SOLUSDT"_qs}},
        {"trimmed, case-insensitive symbol", {.query = u"  btc \n"_qs}, {u"BTCUSDT"_qs}},
        {"exchange display name", {.query = u"gate"_qs}, {u"BTCUSDT"_qs}},
        {"dot of Gate.io", {.query = u"e.I"_qs}, {u"BTCUSDT"_qs}},
        {"alias only; no alias drops", {.query = u"desk"_qs}, {u"ETHUSDT"_qs}},
        {"main-account alias", {.query = u"默认"_qs}, {u"BTCUSDT"_qs}},
        {"blank query passes",
         {.query = u" \t\n"_qs},
         {u"BTCUSDT"_qs, u"ETHUSDT"_qs, u"SOLUSDT"_qs}},
        {"no match", {.query = u"doge"_qs}, {}},
        {"exchange", {.exchange = Exchange::bybit}, {u"ETHUSDT"_qs}},
        {"account never matches a missing id", {.accountID = u"okx"_qs}, {}},
        {"account exact", {.accountID = u"A-1"_qs}, {u"ETHUSDT"_qs}},
        {"account is case-sensitive", {.accountID = u"a-1"_qs}, {}},
        {"side", {.side = PositionSide::short_}, {u"ETHUSDT"_qs}},
        {"hide-small is ignored",
         {.hideSmall = true},
         {u"BTCUSDT"_qs, u"ETHUSDT"_qs, u"SOLUSDT"_qs}},
        {"exchange and another exchange's account",
         {.exchange = Exchange::okx, .accountID = u"A-1"_qs},
         {}},
        {"all tests together",
         {.query = u"eth"_qs,
          .exchange = Exchange::bybit,
          .side = PositionSide::short_,
          .accountID = u"A-1"_qs},
         {u"ETHUSDT"_qs}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(symbolsOf(PositionListModel::filtered(mixedPositions(), c.filter,
                                                        PositionSortMode::defaultOrder)),
                  c.expected)
            << c.name;
    }
}

TEST(PositionFilterTest, OrdersTheKeptPositionsByTheSortModeStably)
{
    // A and C tie on value, B and C tie on profit.
    const std::vector<Position> positions{valued("A", "100", "5"), valued("B", "300", "-2"),
                                          valued("C", "-100", "-2"), valued("D", "50", "9")};
    struct Case {
        PositionSortMode mode;
        std::vector<QString> expected;
    };
    const std::vector<Case> cases{
        {PositionSortMode::defaultOrder, {u"A"_qs, u"B"_qs, u"C"_qs, u"D"_qs}},
        {PositionSortMode::valueDescending, {u"B"_qs, u"A"_qs, u"C"_qs, u"D"_qs}},
        {PositionSortMode::valueAscending, {u"D"_qs, u"A"_qs, u"C"_qs, u"B"_qs}},
        {PositionSortMode::pnlDescending, {u"D"_qs, u"A"_qs, u"B"_qs, u"C"_qs}},
        {PositionSortMode::pnlAscending, {u"B"_qs, u"C"_qs, u"A"_qs, u"D"_qs}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(symbolsOf(PositionListModel::filtered(positions, {}, c.mode)), c.expected)
            << toStored(c.mode).toStdString();
    }
}

TEST(PositionListModelTest, CountAndEmptyStateFollowTheRebuild)
{
    PositionListModel model;
    EXPECT_TRUE(model.rows().empty());  // nothing before the first rebuild

    const std::vector<Position> positions = mixedPositions();
    const auto total = static_cast<qsizetype>(positions.size());
    model.rebuild(positions, {}, PositionSortMode::defaultOrder);
    EXPECT_EQ(model.countText(total), u"3"_qs);

    model.rebuild(positions, {.query = u"nothing"_qs}, PositionSortMode::defaultOrder);
    EXPECT_EQ(model.countText(total), u"0 / 3"_qs);
    EXPECT_EQ(PositionListModel::emptyState(total).title, u"没有匹配的持仓"_qs);

    model.rebuild({}, {}, PositionSortMode::defaultOrder);
    EXPECT_EQ(model.countText(0), u"0"_qs);
    const ListEmptyState none = PositionListModel::emptyState(0);
    EXPECT_EQ(none.title, u"暂无持仓"_qs);
    EXPECT_EQ(none.description, u"已连接账户当前没有合约仓位。"_qs);
}

TEST(ListCountTextTest, UsesPlainIntegers)
{
    EXPECT_EQ(ListCountText::text(1234, 1234), u"1234"_qs);
    EXPECT_EQ(ListCountText::text(2, 12345), u"2 / 12345"_qs);
}

TEST(BalanceFilterTest, HideSmallKeepsUnpricedHoldingsAndWholeDollars)
{
    const std::vector<AssetBalance> balances{balance("HALF", "0.5"),
                                             balance("ONE", "1"),
                                             balance("DEBT", "-0.5"),
                                             balance("UNPRICED", "0", "3"),
                                             balance("EMPTY", "0", "0"),
                                             balance("OWED", "-1"),
                                             balance("NEAR", "0.9999999999999999999999")};
    EXPECT_EQ(assetsOf(AssetListModel::filtered(balances, {.hideSmall = true})),
              (std::vector<QString>{u"ONE"_qs, u"UNPRICED"_qs, u"OWED"_qs}));
    EXPECT_EQ(AssetListModel::filtered(balances, {}).size(), balances.size());
}

TEST(BalanceFilterTest, KeepsTheBalancesEachFilterAllows)
{
    const std::vector<AssetBalance> balances{
        balance("BTC", "10"), balance("USDT", "9", "9", Exchange::okx, u"okx"_qs, u"默认账户"_qs),
        balance("ETH", "8", "1", Exchange::bybit, u"B-7"_qs, u"Savings"_qs),
        balance("SOL", "7", "1", Exchange::gateio, std::nullopt, std::nullopt)};
    struct Case {
        const char* name;
        PortfolioFilter filter;
        std::vector<QString> expected;
    };
    const std::vector<Case> cases{
        {"exchange name", {.query = u"okx"_qs}, {u"USDT"_qs}},
        {"asset, trimmed", {.query = u" eth\n"_qs}, {u"ETH"_qs}},
        {"alias only; no alias drops", {.query = u"savings"_qs}, {u"ETH"_qs}},
        {"main-account alias", {.query = u"默认"_qs}, {u"BTC"_qs, u"USDT"_qs}},
        {"account never matches a missing id", {.accountID = u"gateio"_qs}, {}},
        {"exchange", {.exchange = Exchange::bybit}, {u"ETH"_qs}},
        {"side is ignored",
         {.side = PositionSide::short_},
         {u"BTC"_qs, u"USDT"_qs, u"ETH"_qs, u"SOL"_qs}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(assetsOf(AssetListModel::filtered(balances, c.filter)), c.expected) << c.name;
    }
}

TEST(BalanceFilterTest, OrdersByValueLargestFirstKeepingTiesInSnapshotOrder)
{
    const std::vector<AssetBalance> balances{balance("A", "5"), balance("NEG", "-3"),
                                             balance("B", "20"), balance("C", "5"),
                                             balance("D", "5.00")};
    EXPECT_EQ(assetsOf(AssetListModel::filtered(balances, {})),
              (std::vector<QString>{u"B"_qs, u"A"_qs, u"C"_qs, u"D"_qs, u"NEG"_qs}));
}

TEST(AssetListModelTest, CountAndEmptyStateFollowTheRebuild)
{
    AssetListModel model;
    const std::vector<AssetBalance> balances{balance("BTC", "10"), balance("DUST", "0.1")};
    model.rebuild(balances, {.hideSmall = true});
    EXPECT_EQ(model.countText(2), u"1 / 2"_qs);
    model.rebuild(balances, {.query = u"zzz"_qs});
    EXPECT_EQ(model.countText(2), u"0 / 2"_qs);
    EXPECT_EQ(AssetListModel::emptyState(2).title, u"没有匹配的资产"_qs);
    EXPECT_EQ(AssetListModel::emptyState(0),
              (ListEmptyState{u"list.bullet.rectangle"_qs, u"暂无资产明细"_qs,
                              u"连接后显示账户的非零资产。"_qs}));
}
