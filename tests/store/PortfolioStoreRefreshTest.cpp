#include "PortfolioStoreHarness.h"

#include "networking/ExchangeAPIError.h"

#include <gtest/gtest.h>

using namespace vantrell;
using namespace vantrell::test;

namespace {

using Kind = ExchangeRefreshStatus::State::Kind;

class PortfolioStoreRefreshTest : public ::testing::Test {
protected:
    StoreWorld world;
};

TEST_F(PortfolioStoreRefreshTest, OneCycleAtATimeAndRefreshingAlwaysEnds)
{
    auto binance = world.configure(Exchange::binance, QStringLiteral("bn"));
    binance->answer(result(Exchange::binance, "100"));
    binance->hold();
    auto store = world.makeStore();

    QCoro::Task<void> first = store->refreshNow(true);
    EXPECT_TRUE(store->isRefreshing());
    EXPECT_EQ(store->status(Exchange::binance).state.kind, Kind::connecting);
    QCoro::Task<void> second = store->refreshNow(true);
    EXPECT_TRUE(second.isReady());  // dropped at once, not queued
    EXPECT_EQ(binance->fetches(), 1);

    binance->release();
    QCoro::waitFor(first);
    EXPECT_FALSE(store->isRefreshing());
    EXPECT_EQ(store->snapshot().totalValue, dec("100"));
    EXPECT_EQ(store->status(Exchange::binance).state.kind, Kind::connected);

    // A cycle whose only fetch fails also ends.
    binance->hold(false);
    binance->fail(ExchangeAPIError::network());
    refreshNow(*store);
    EXPECT_FALSE(store->isRefreshing());
}

TEST_F(PortfolioStoreRefreshTest, StoreDestroyedWhileFetchesArePending)
{
    auto binance = world.configure(Exchange::binance, QStringLiteral("bn"));
    auto okx = world.configure(Exchange::okx, QStringLiteral("ok"));
    binance->hold();
    okx->hold();
    auto store = world.makeStore();
    QCoro::Task<void> cycle = store->refreshNow(true);
    store.reset();

    binance->release();
    okx->release();
    QCoro::waitFor(cycle);
    world.settleFiles();
    EXPECT_TRUE(world.files().isEmpty());
}

// Binance succeeds with new data while OKX fails, finishing in the given order. The data of both
// comes from the cache of an earlier run, which has no per-account results to fall back on.
PortfolioSnapshot partialFailure(bool binanceFirst)
{
    StoreWorld world;
    auto binance = world.configure(Exchange::binance, QStringLiteral("bn"));
    auto okx = world.configure(Exchange::okx, QStringLiteral("ok"));
    CachedPortfolioSnapshot cache;
    cache.snapshot = ExchangeResultMerge::merged({}, Exchange::okx, result(Exchange::okx, "20"));
    cache.snapshot = ExchangeResultMerge::merged(cache.snapshot, Exchange::binance,
                                                 result(Exchange::binance, "100"));
    cache.savedAt = world.clock.now();
    cache.identity = world.identity();
    cache.quality = {{Exchange::binance, QString()}, {Exchange::okx, QString()}};
    world.writeFile(cache, QStringLiteral("portfolio-cache.json"));
    auto store = world.makeStore();
    EXPECT_EQ(store->snapshot(), cache.snapshot);

    world.clock.advance(600);
    binance->answer(result(Exchange::binance, "150"));
    okx->fail(ExchangeAPIError::api(QStringLiteral("x")));
    binance->hold();
    okx->hold();
    QCoro::Task<void> cycle = store->refreshNow(true);
    (binanceFirst ? binance : okx)->release();
    (binanceFirst ? okx : binance)->release();
    QCoro::waitFor(cycle);
    world.settleFiles();

    EXPECT_EQ(store->status(Exchange::binance).state.kind, Kind::connected);
    EXPECT_EQ(
        store->status(Exchange::okx),
        (ExchangeRefreshStatus{
            ExchangeRefreshStatus::State::failed(
                QStringLiteral("默认账户：交易所拒绝请求，请检查只读权限、账户模式和 API 配置")),
            std::nullopt,
            QStringLiteral("默认账户：交易所拒绝请求，请检查只读权限、账户模式和 API 配置")}));
    EXPECT_TRUE(store->valueHistory().empty());  // no point without fresh, complete data
    EXPECT_FALSE(store->twentyFourHourPnL().has_value());
    EXPECT_TRUE(world.files().contains(QStringLiteral("portfolio-cache.json")));
    return store->snapshot();
}

TEST(PortfolioStoreCompletionOrderTest, PartialFailureGivesTheSameSnapshotInBothOrders)
{
    const PortfolioSnapshot binanceFirst = partialFailure(true);
    EXPECT_EQ(binanceFirst.totalValue, dec("170"));
    ASSERT_EQ(binanceFirst.exchanges.size(), 2U);
    EXPECT_EQ(binanceFirst.exchanges[1].totalValue, dec("20"));
    EXPECT_EQ(partialFailure(false), binanceFirst);
}

TEST_F(PortfolioStoreRefreshTest, ResultsOfAnotherIdentityAreDropped)
{
    auto binance = world.configure(Exchange::binance, QStringLiteral("bn"));
    binance->answer(result(Exchange::binance, "100"));
    binance->hold();
    auto store = world.makeStore();
    QCoro::Task<void> cycle = store->refreshNow(true);

    auto okx = world.configure(Exchange::okx, QStringLiteral("ok"));
    okx->answer(result(Exchange::okx, "20"));
    binance->release();
    QCoro::waitFor(cycle);
    world.settleFiles();
    EXPECT_FALSE(store->snapshot().isLive);
    EXPECT_FALSE(store->isRefreshing());
    EXPECT_TRUE(world.files().isEmpty());

    // The next cycle starts over with the new identity's history.
    PortfolioHistory history{world.identity(),
                             QString(),
                             {{world.clock.now(), 5}},
                             std::vector<CapitalFlow>{{Uuid::random(), Date{1}, 7}}};
    world.writeFile(history, world.historyFile());
    binance->hold(false);
    refreshNow(*store);
    EXPECT_EQ(store->accountIdentity(), world.identity());
    EXPECT_EQ(store->capitalFlows(), *history.flows);
    EXPECT_EQ(store->snapshot().totalValue, dec("120"));
}

TEST_F(PortfolioStoreRefreshTest, WithoutCredentialsNothingIsFetchedOrWritten)
{
    auto store = world.makeStore();
    refreshNow(*store);
    world.settleFiles();
    for (Exchange exchange : allExchanges) {
        EXPECT_EQ(store->status(exchange), ExchangeRefreshStatus{});
    }
    EXPECT_EQ(store->snapshot(), PortfolioStore::emptySnapshot());
    EXPECT_FALSE(store->isRefreshing());
    EXPECT_TRUE(world.files().isEmpty());
}

TEST_F(PortfolioStoreRefreshTest, ServerWaitsHoldForcedRefreshesBackOffOnlyTimerOnes)
{
    auto binance = world.configure(Exchange::binance, QStringLiteral("bn"));
    binance->fail(ExchangeAPIError::rateLimited(120));
    auto store = world.makeStore();
    refreshNow(*store);
    EXPECT_EQ(store->status(Exchange::binance).detail,
              QStringLiteral("请求频率受限，将自动延后重试"));

    binance->answer(result(Exchange::binance, "100"));
    world.clock.advance(60);
    refreshNow(*store, true);
    EXPECT_EQ(binance->fetches(), 1);
    EXPECT_EQ(store->status(Exchange::binance).state.kind, Kind::failed);
    world.clock.advance(60);
    refreshNow(*store, true);
    EXPECT_EQ(binance->fetches(), 2);
    EXPECT_EQ(store->status(Exchange::binance).state.kind, Kind::connected);

    // An ordinary failure at interval 10 waits 10 s for the timer, not for a forced refresh.
    binance->fail(ExchangeAPIError::network());
    refreshNow(*store, true);
    world.clock.advance(5);
    refreshNow(*store, false);
    EXPECT_EQ(binance->fetches(), 3);
    refreshNow(*store, true);
    EXPECT_EQ(binance->fetches(), 4);
    world.clock.advance(20);  // the second failure waits 20 s
    refreshNow(*store, false);
    EXPECT_EQ(binance->fetches(), 5);
}

TEST_F(PortfolioStoreRefreshTest, AccountsOfAnExchangeAreFetchedTogether)
{
    auto main = world.configure(Exchange::binance, QStringLiteral("bn"));
    auto extra = world.configure(Exchange::binance, QStringLiteral("bn-a"), QStringLiteral("A"));
    auto okx = world.configure(Exchange::okx, QStringLiteral("ok-b"), QStringLiteral("B"));
    LocalCredentialStore(world.defaults).saveAccount({QStringLiteral("C"), Exchange::bybit, {}});
    main->answer(result(Exchange::binance, "100"));
    extra->answer(result(Exchange::binance, "50"));
    okx->answer(result(Exchange::okx, "20"));
    auto store = world.makeStore();
    EXPECT_EQ(store->configuredExchanges(),
              (std::vector<Exchange>{Exchange::binance, Exchange::okx}));
    refreshNow(*store);

    const auto& balances = store->snapshot().balances;
    ASSERT_EQ(balances.size(), 3U);
    EXPECT_EQ(balances[0].accountID, QStringLiteral("binance"));
    EXPECT_EQ(balances[0].accountAlias, QStringLiteral("默认账户"));
    EXPECT_EQ(balances[1].accountID, QStringLiteral("A"));
    EXPECT_EQ(balances[2].accountID, QStringLiteral("B"));
    EXPECT_EQ(store->snapshot().totalValue, dec("170"));

    // The next provider is seeded with each account's last result.
    world.clock.advance(600);
    extra->fail(ExchangeAPIError::network());
    refreshNow(*store);
    const ExchangeRefreshStatus status = store->status(Exchange::binance);
    EXPECT_EQ(status.state.kind, Kind::failed);
    EXPECT_EQ(status.lastSuccess, world.clock.now().addingSeconds(-600));
    EXPECT_EQ(store->snapshot().totalValue, dec("170"));
}

TEST_F(PortfolioStoreRefreshTest, AnExchangeWithoutProviderLeavesTheSnapshot)
{
    auto binance = world.configure(Exchange::binance, QStringLiteral("bn"));
    auto okx = world.configure(Exchange::okx, QStringLiteral("ok"));
    binance->answer(result(Exchange::binance, "100"));
    okx->answer(result(Exchange::okx, "20"));
    auto store = world.makeStore();
    refreshNow(*store);
    const Date merged = world.clock.now();

    world.providers.erase(QStringLiteral("ok"));  // same credentials, no connector any more
    binance->hold();
    world.clock.advance(30);
    QCoro::Task<void> cycle = store->refreshNow(true);
    EXPECT_EQ(store->snapshot().totalValue, dec("100"));
    EXPECT_EQ(store->snapshot().exchanges.size(), 1U);
    EXPECT_EQ(store->snapshot().balances.size(), 1U);
    EXPECT_EQ(store->status(Exchange::okx),
              (ExchangeRefreshStatus{ExchangeRefreshStatus::State::unconfigured(), merged, {}}));
    binance->release();
    QCoro::waitFor(cycle);
}

}  // namespace
