#include "store/ExchangeResultMerge.h"

#include <gtest/gtest.h>

using namespace vantrell;

namespace {

using Kind = ExchangeRefreshStatus::State::Kind;

Decimal dec(const char* text)
{
    return *Decimal::parse(text);
}

const Date t0{1000};

ExchangeProviderSnapshot result(Exchange exchange, const char* total)
{
    ExchangeProviderSnapshot s;
    s.account = {exchange, dec(total), std::nullopt, {{AccountType::spot, dec(total)}}};
    s.balances = {{std::nullopt, std::nullopt, exchange, AccountType::spot, QStringLiteral("BTC"),
                   dec("1"), dec(total)}};
    Position position;
    position.exchange = exchange;
    position.symbol = QStringLiteral("BTCUSDT");
    s.positions = {position};
    return s;
}

// Binance merged complete at t0, OKX merged complete at t0.
PortfolioRefreshState mergedState()
{
    PortfolioRefreshState state;
    ExchangeResultMerge::apply(
        state, ProviderRefreshResult::success(Exchange::okx, result(Exchange::okx, "20")), t0, 10);
    ExchangeResultMerge::apply(
        state, ProviderRefreshResult::success(Exchange::binance, result(Exchange::binance, "100")),
        t0, 10);
    return state;
}

TEST(ExchangeResultMergeTest, OutcomesOfASuccess)
{
    struct Row {
        const char* name;
        bool mergedBefore;    // Binance merged complete at t0 first
        bool unpriced;        // the new result lacks a price
        bool cachedAccounts;  // the new result reused a connection's earlier data
        bool expectReplaced;
        QString expectQuality;
        Kind expectKind;
        QString expectDetail;
        std::optional<Date> expectLastSuccess;
        int expectFailures;
    };
    const Date t1 = t0.addingSeconds(60);
    const std::vector<Row> rows = {
        {"complete", true, false, false, true, "", Kind::connected, "", t1, 0},
        {"keep last", true, true, false, false, "", Kind::failed,
         "部分资产暂无报价。保留上次完整资产", t0, 1},
        {"first partial", false, true, false, true, "XYZ", Kind::connected, "部分资产暂无报价。",
         t1, 0},
        {"cached accounts", true, false, true, true, "", Kind::failed, "", t0, 1},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        PortfolioRefreshState state = row.mergedBefore ? mergedState() : PortfolioRefreshState{};
        const PortfolioSnapshot before = state.snapshot;
        ExchangeProviderSnapshot next = result(Exchange::binance, "150");
        if (row.unpriced) {
            next.unpricedAssets = {QStringLiteral("XYZ")};
        }
        next.containsCachedAccounts = row.cachedAccounts;
        ExchangeResultMerge::apply(state, ProviderRefreshResult::success(Exchange::binance, next),
                                   t1, 10);

        EXPECT_EQ(state.snapshot == before, !row.expectReplaced);
        EXPECT_EQ(state.lastUpdated, row.expectReplaced ? t1 : t0);
        EXPECT_EQ(state.quality.at(Exchange::binance), row.expectQuality);
        const ExchangeRefreshStatus status = state.status(Exchange::binance);
        EXPECT_EQ(status.state.kind, row.expectKind);
        EXPECT_EQ(status.detail, row.expectDetail);
        if (row.expectKind == Kind::failed) {
            EXPECT_EQ(status.state.message, row.expectDetail);
        }
        EXPECT_EQ(status.lastSuccess, row.mergedBefore || row.expectKind == Kind::connected
                                          ? row.expectLastSuccess
                                          : std::nullopt);
        EXPECT_EQ(state.backoffs[Exchange::binance].failures, row.expectFailures);
        if (row.expectReplaced) {
            EXPECT_FALSE(state.snapshot.dailyPnL.has_value());
            EXPECT_EQ(state.snapshot.totalValue, row.mergedBefore ? dec("170") : dec("150"));
        }
    }
}

TEST(ExchangeResultMergeTest, StatusTextAndQualityKeyAreComposedExactly)
{
    ExchangeProviderSnapshot s;
    s.missingAccounts = {AccountType::spot, AccountType::futures};
    s.unpricedAssets = {QStringLiteral("ZRX"), QStringLiteral("ABC")};
    s.positionsUnavailable = true;
    s.accountsUnavailable = true;
    s.accountWarnings = {QStringLiteral("甲"), QStringLiteral("乙")};
    EXPECT_EQ(ExchangeResultMerge::statusText(s),
              QStringLiteral("未获取账户：合约、现货。部分资产暂无报价。持仓接口暂不可用。甲。乙"));
    EXPECT_EQ(ExchangeResultMerge::qualityKey(s), QStringLiteral("合约,现货,ABC,ZRX,账户缺失"));
    EXPECT_EQ(ExchangeResultMerge::qualityKey(result(Exchange::okx, "1")), QString());
}

TEST(ExchangeResultMergeTest, KeepLastNeedsTheExchangeInTheSnapshotAndKeepsTheServerWait)
{
    PortfolioRefreshState state = mergedState();
    ExchangeProviderSnapshot partial = result(Exchange::binance, "150");
    partial.accountsUnavailable = true;
    partial.retryAfter = 120;
    ExchangeResultMerge::apply(state, ProviderRefreshResult::success(Exchange::binance, partial),
                               t0, 10);
    EXPECT_EQ(state.snapshot.totalValue, dec("120"));
    EXPECT_EQ(state.backoffs[Exchange::binance].serverRetryUntil, t0.addingSeconds(120));

    // Complete quality on record, but no Binance account in the snapshot: merged.
    state.snapshot = PortfolioSnapshot{};
    ExchangeResultMerge::apply(state, ProviderRefreshResult::success(Exchange::binance, partial),
                               t0, 10);
    EXPECT_EQ(state.snapshot.totalValue, dec("150"));
    EXPECT_EQ(state.quality.at(Exchange::binance), QStringLiteral("账户缺失"));
    EXPECT_EQ(state.backoffs[Exchange::binance].failures, 1);
}

TEST(ExchangeResultMergeTest, FailureKeepsDataAndUnavailablePositionsStay)
{
    PortfolioRefreshState state = mergedState();
    const PortfolioSnapshot before = state.snapshot;
    ExchangeResultMerge::apply(
        state, ProviderRefreshResult::failure(Exchange::okx, QStringLiteral("坏"), 30),
        t0.addingSeconds(5), 10);
    EXPECT_EQ(state.snapshot, before);
    EXPECT_EQ(state.lastUpdated, t0);
    EXPECT_EQ(state.status(Exchange::okx),
              (ExchangeRefreshStatus{ExchangeRefreshStatus::State::failed(QStringLiteral("坏")), t0,
                                     QStringLiteral("坏")}));
    EXPECT_EQ(state.backoffs[Exchange::okx].nextAttempt, t0.addingSeconds(35));

    ExchangeProviderSnapshot next = result(Exchange::okx, "25");
    next.positions.clear();
    next.positionsUnavailable = true;
    ExchangeResultMerge::apply(state, ProviderRefreshResult::success(Exchange::okx, next), t0, 10);
    EXPECT_EQ(state.snapshot.positions, before.positions);
    EXPECT_EQ(state.snapshot.balances.back().valueInUSD, dec("25"));
    EXPECT_EQ(state.snapshot.totalValue, dec("125"));
}

TEST(ExchangeResultMergeTest, AccountsStayOnePerExchangeInNameOrder)
{
    PortfolioRefreshState state;
    for (Exchange exchange : {Exchange::okx, Exchange::gateio, Exchange::binance, Exchange::bybit,
                              Exchange::bitget, Exchange::okx, Exchange::binance}) {
        ExchangeResultMerge::apply(
            state, ProviderRefreshResult::success(exchange, result(exchange, "1")), t0, 10);
    }
    std::vector<Exchange> order;
    for (const ExchangeAccount& account : state.snapshot.exchanges) {
        order.push_back(account.exchange);
    }
    EXPECT_EQ(order, (std::vector<Exchange>{Exchange::binance, Exchange::bitget, Exchange::bybit,
                                            Exchange::gateio, Exchange::okx}));
    EXPECT_EQ(state.snapshot.totalValue, dec("5"));
    EXPECT_EQ(state.snapshot.balances.size(), 5U);
}

}  // namespace
