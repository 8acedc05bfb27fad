#include "PortfolioStoreHarness.h"

#include "networking/ExchangeAPIError.h"

#include <gtest/gtest.h>

using namespace vantrell;
using namespace vantrell::test;

namespace {

class PortfolioStoreRefreshAfterCycleTest : public ::testing::Test {
protected:
    StoreWorld world;
};

TEST_F(PortfolioStoreRefreshAfterCycleTest, WithoutARunningCycleRefreshesAtOnce)
{
    auto binance = world.configure(Exchange::binance, QStringLiteral("bn"));
    binance->answer(result(Exchange::binance, "100"));
    auto store = world.makeStore();

    ASSERT_TRUE(runTask(store->refreshAfterCurrentCycle()).succeeded());
    EXPECT_EQ(binance->fetches(), 1);
    EXPECT_EQ(store->snapshot().totalValue, dec("100"));
    EXPECT_FALSE(store->isRefreshing());
}

// Credentials saved while a cycle runs: that cycle drops its results (the identity changed), so
// only a cycle that starts after the save can show the new account.
TEST_F(PortfolioStoreRefreshAfterCycleTest, WaitsForTheRunningCycleThenRunsItsOwn)
{
    auto binance = world.configure(Exchange::binance, QStringLiteral("bn"));
    binance->answer(result(Exchange::binance, "100"));
    binance->hold();
    auto store = world.makeStore();
    QCoro::Task<void> running = store->refreshNow(false);

    auto okx = world.configure(Exchange::okx, QStringLiteral("ok"));
    okx->answer(result(Exchange::okx, "20"));
    okx->hold();
    QCoro::Task<void> awaited = store->refreshAfterCurrentCycle();
    EXPECT_FALSE(awaited.isReady());
    EXPECT_EQ(okx->fetches(), 0);  // nothing of its own starts while the first cycle runs

    binance->release();  // the first cycle ends; the forced one starts right away
    EXPECT_TRUE(running.isReady());
    EXPECT_TRUE(store->isRefreshing());
    EXPECT_EQ(binance->fetches(), 2);
    EXPECT_EQ(okx->fetches(), 1);
    EXPECT_FALSE(awaited.isReady());

    binance->release();
    EXPECT_FALSE(awaited.isReady());  // returns only once its own cycle has ended
    okx->release();
    ASSERT_TRUE(awaited.isReady());
    EXPECT_FALSE(store->isRefreshing());
    EXPECT_EQ(store->snapshot().totalValue, dec("120"));
}

TEST_F(PortfolioStoreRefreshAfterCycleTest, ItsRefreshIsForcedPastTheBackoff)
{
    auto binance = world.configure(Exchange::binance, QStringLiteral("bn"));
    binance->fail(ExchangeAPIError::network());
    auto store = world.makeStore();
    refreshNow(*store);
    ASSERT_EQ(binance->fetches(), 1);
    refreshNow(*store, false);  // the back-off holds a timer refresh back
    ASSERT_EQ(binance->fetches(), 1);

    binance->answer(result(Exchange::binance, "50"));
    ASSERT_TRUE(runTask(store->refreshAfterCurrentCycle()).succeeded());
    EXPECT_EQ(binance->fetches(), 2);
    EXPECT_EQ(store->snapshot().totalValue, dec("50"));
}

TEST_F(PortfolioStoreRefreshAfterCycleTest, EveryWaiterGetsACycleThatBeganAfterItsCall)
{
    auto binance = world.configure(Exchange::binance, QStringLiteral("bn"));
    binance->answer(result(Exchange::binance, "100"));
    binance->hold();
    auto store = world.makeStore();
    QCoro::Task<void> running = store->refreshNow(true);
    QCoro::Task<void> first = store->refreshAfterCurrentCycle();
    QCoro::Task<void> second = store->refreshAfterCurrentCycle();

    binance->release();
    EXPECT_EQ(binance->fetches(), 2);
    binance->release();
    EXPECT_TRUE(first.isReady());
    EXPECT_FALSE(second.isReady());  // it waited behind the first waiter's cycle
    binance->release();
    EXPECT_TRUE(second.isReady());
    EXPECT_EQ(binance->fetches(), 3);
}

TEST_F(PortfolioStoreRefreshAfterCycleTest, StoreDestroyedWhileWaiting)
{
    auto binance = world.configure(Exchange::binance, QStringLiteral("bn"));
    binance->hold();
    auto store = world.makeStore();
    QCoro::Task<void> running = store->refreshNow(true);
    QCoro::Task<void> awaited = store->refreshAfterCurrentCycle();
    store.reset();

    binance->release();
    EXPECT_TRUE(running.isReady());
    EXPECT_TRUE(awaited.isReady());  // ends without a refresh of a store that is gone
    EXPECT_EQ(binance->fetches(), 1);
}

}  // namespace
