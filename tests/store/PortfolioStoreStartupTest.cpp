#include "PortfolioStoreHarness.h"

#include "networking/ExchangeAPIError.h"
#include "settings/Preferences.h"

#include <gtest/gtest.h>

#include <QTimer>

using namespace vantrell;
using namespace vantrell::test;

namespace {

using Kind = ExchangeRefreshStatus::State::Kind;

class PortfolioStoreStartupTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        binance = world.configure(Exchange::binance, QStringLiteral("bn"));
        binance->answer(result(Exchange::binance, "100"));
    }

    // A cache of Binance's complete data, saved an hour ago.
    CachedPortfolioSnapshot cache(const QString& identity, bool live)
    {
        CachedPortfolioSnapshot record;
        record.snapshot =
            ExchangeResultMerge::merged({}, Exchange::binance, result(Exchange::binance, "80"));
        record.snapshot.isLive = live;
        record.savedAt = world.clock.now().addingSeconds(-3600);
        record.identity = identity;
        record.quality = {{Exchange::binance, QString()}};
        record.components = {
            {Exchange::binance, {{QStringLiteral("binance"), result(Exchange::binance, "80")}}}};
        return record;
    }

    StoreWorld world;
    std::shared_ptr<GatedProvider> binance;
};

TEST_F(PortfolioStoreStartupTest, CacheOfTheSameIdentityIsShownAndKeptAgainstPartialData)
{
    // Without the account's own earlier result, the provider has nothing to fall back on, so
    // keeping the complete data is the store's doing.
    CachedPortfolioSnapshot saved = cache(world.identity(), true);
    saved.components.reset();
    world.writeFile(saved, QStringLiteral("portfolio-cache.json"));
    auto store = world.makeStore();
    EXPECT_EQ(store->snapshot(), saved.snapshot);
    EXPECT_EQ(store->lastUpdated(), saved.savedAt);

    ExchangeProviderSnapshot partial = result(Exchange::binance, "100");
    partial.missingAccounts = {AccountType::futures};
    binance->answer(partial);
    refreshNow(*store);
    EXPECT_EQ(store->snapshot(), saved.snapshot);
    EXPECT_EQ(store->status(Exchange::binance).detail,
              QStringLiteral("未获取账户：合约。保留上次完整资产"));
}

TEST_F(PortfolioStoreStartupTest, CacheOfAnotherIdentityOnlyGivesTheTime)
{
    const CachedPortfolioSnapshot saved = cache(identityOf('a'), true);
    world.writeFile(saved, QStringLiteral("portfolio-cache.json"));
    auto store = world.makeStore();
    EXPECT_EQ(store->snapshot(), PortfolioStore::emptySnapshot());
    EXPECT_EQ(store->lastUpdated(), saved.savedAt);
}

TEST_F(PortfolioStoreStartupTest, CacheThatIsNotLiveStillSeedsTheAccounts)
{
    world.writeFile(cache(world.identity(), false), QStringLiteral("portfolio-cache.json"));
    auto store = world.makeStore();
    EXPECT_EQ(store->snapshot(), PortfolioStore::emptySnapshot());

    binance->fail(ExchangeAPIError::network());
    refreshNow(*store);
    EXPECT_EQ(store->snapshot().totalValue, dec("80"));
    EXPECT_EQ(store->status(Exchange::binance).state.kind, Kind::failed);
}

TEST_F(PortfolioStoreStartupTest, HistoryFlowsAndIntervalAreLoaded)
{
    const PortfolioHistory history = sampleHistory(world.identity(), world.clock.now());
    world.writeFile(history, world.historyFile());
    world.defaults.setValue(QStringLiteral("refreshInterval"), 30.0);
    auto store = world.makeStore();
    EXPECT_EQ(store->lastUpdated(), world.clock.now());  // no cache
    EXPECT_EQ(store->valueHistory(), history.points);
    EXPECT_EQ(store->historyCoverage(), history.coverage);
    EXPECT_EQ(store->capitalFlows(), *history.flows);
    EXPECT_EQ(store->refreshInterval(), 30);
    store.reset();

    world.defaults.setValue(QStringLiteral("refreshInterval"), 7.0);
    const std::vector<PortfolioValuePoint> override{{Date{5}, 1}};
    store = world.makeStore(override);
    EXPECT_EQ(store->valueHistory(), override);
    EXPECT_EQ(store->capitalFlows(), *history.flows);
    EXPECT_EQ(store->refreshInterval(), 10);
}

TEST_F(PortfolioStoreStartupTest, StartingRefreshesOnTheEventLoopOnTheTimerAndAfterAWake)
{
    auto store = world.makeStore(std::nullopt, true);
    EXPECT_EQ(binance->fetches(), 0);
    QCoreApplication::processEvents();
    EXPECT_EQ(binance->fetches(), 1);

    auto* timer = store->findChild<QTimer*>(QStringLiteral("refreshTimer"));
    ASSERT_NE(timer, nullptr);
    EXPECT_TRUE(timer->isActive());
    EXPECT_EQ(timer->interval(), 10'000);
    store->setRefreshInterval(60);
    store->configureTimer();
    EXPECT_EQ(timer->interval(), 60'000);

    Q_EMIT world.wakeMonitor.woke();
    EXPECT_EQ(binance->fetches(), 2);  // forced: the back-off of a success is no obstacle

    auto loadOnly = world.makeStore();
    EXPECT_EQ(loadOnly->findChild<QTimer*>(), nullptr);
}

TEST_F(PortfolioStoreStartupTest, FreshnessLinesBeforeAndDuringTheFirstFetch)
{
    auto store = world.makeStore();
    EXPECT_EQ(store->freshnessDescription(), QStringLiteral("Binance：等待更新 · 尚未更新"));
    binance->hold();
    QCoro::Task<void> cycle = store->refreshNow(true);
    EXPECT_EQ(store->freshnessDescription(), QStringLiteral("Binance：保留上次数据 · 尚未更新"));
    binance->release();
    QCoro::waitFor(cycle);
    EXPECT_TRUE(store->freshnessDescription().startsWith(QStringLiteral("Binance：正常 · ")));
    EXPECT_TRUE(store->isFresh(Exchange::binance));
    world.clock.advance(31);
    EXPECT_FALSE(store->isFresh(Exchange::binance));
    EXPECT_FALSE(store->hasFreshCompleteData());
}

TEST_F(PortfolioStoreStartupTest, ConnectionTests)
{
    auto store = world.makeStore();
    const LocalCredentialStore incomplete({{CredentialField::okxAPIKey, QStringLiteral("ok")}},
                                          world.defaults);
    auto outcome = runTask(store->testConnection(Exchange::okx, incomplete));
    EXPECT_EQ(outcome.value->failureMessage, QStringLiteral("尚未保存完整凭证"));
    EXPECT_TRUE(runTask(store->testConnection(Exchange::binance)).value->succeeded());
    binance->fail(std::runtime_error("secret detail"));
    outcome = runTask(store->testConnection(Exchange::binance));
    EXPECT_EQ(outcome.value->failureMessage, QStringLiteral("请求失败，请检查网络和只读权限"));
    EXPECT_EQ(store->status(Exchange::binance), ExchangeRefreshStatus{});
}

}  // namespace
