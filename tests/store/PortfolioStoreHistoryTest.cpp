#include "PortfolioStoreHarness.h"

#include "networking/ExchangeAPIError.h"
#include "networking/NetworkHttpTransport.h"
#include "settings/AppSettings.h"
#include "store/CapitalFlowLedger.h"
#include "store/PortfolioAlerts.h"
#include "support/FakeHttpTransport.h"
#include "support/LoopbackExchanges.h"

#include <gtest/gtest.h>

#include <QFile>

using namespace vantrell;
using namespace vantrell::test;

namespace {

class PortfolioStoreHistoryTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        binance = world.configure(Exchange::binance, QStringLiteral("bn"));
        binance->answer(result(Exchange::binance, "100"));
    }

    // A store whose total went from 100 to 130 over its first two points, ten minutes apart.
    std::unique_ptr<PortfolioStore> storeThatRoseTo130()
    {
        auto store = world.makeStore();
        refreshNow(*store);
        world.clock.advance(600);
        binance->answer(result(Exchange::binance, "130"));
        refreshNow(*store);
        return store;
    }

    StoreWorld world;
    std::shared_ptr<GatedProvider> binance;
};

TEST_F(PortfolioStoreHistoryTest, CyclesWithFreshCompleteDataRecordSpacedPoints)
{
    auto store = world.makeStore();
    const Date t0 = world.clock.now();
    refreshNow(*store);
    world.clock.advance(299);
    binance->answer(result(Exchange::binance, "110"));
    refreshNow(*store);
    EXPECT_EQ(store->valueHistory(), (std::vector<PortfolioValuePoint>{{t0, 100}}));
    EXPECT_EQ(store->twentyFourHourPnL(), Decimal(10));  // recomputed all the same
    EXPECT_EQ(store->twentyFourHourChangePercent(), Decimal(10));

    world.clock.advance(1);
    refreshNow(*store);
    ASSERT_EQ(store->valueHistory().size(), 2U);
    const auto saved = world.readHistory(world.historyFile());
    ASSERT_TRUE(saved);
    EXPECT_EQ(saved->points, store->valueHistory());
    EXPECT_EQ(saved->coverage, QStringLiteral("binance:现货"));

    // A failing cycle records nothing and hides the figures.
    world.clock.advance(600);
    binance->fail(ExchangeAPIError::network());
    refreshNow(*store);
    EXPECT_EQ(store->valueHistory().size(), 2U);
    EXPECT_FALSE(store->twentyFourHourPnL().has_value());
    EXPECT_FALSE(store->displayedChangePercent(PerformancePeriod::today).has_value());
}

// Gate refuses the futures calls of an account that never opened futures; its spot-only
// portfolio is complete all the same, over the real connector and network stack.
TEST(PortfolioStoreGateHistoryTest, SpotOnlyGateAccountRecordsHistoryPoints)
{
    StoreWorld world;
    LoopbackExchanges exchanges(NetworkHttpTransport::shared(), world.clock,
                                LoopbackExchanges::Replies::priced);
    const LoopbackExchanges::Credentials keys{u"gate-key"_qs, u"gate-secret"_qs, {}};
    exchanges.accept(Exchange::gateio, keys);
    LocalCredentialStore credentials(world.defaults);
    ASSERT_TRUE(LoopbackExchanges::store(credentials, Exchange::gateio, keys));
    const LoopbackReply noFutures = LoopbackReply::json(
        400, ExchangeFixtureServer::fixture(u"gate/futures_user_not_found.json"_qs));
    for (const QByteArray path :
         {"/api/v4/futures/usdt/accounts", "/api/v4/futures/usdt/positions"}) {
        exchanges.server(Exchange::gateio).serve("GET", path, noFutures);
    }
    world.providerFactory = exchanges.providerFactory();

    auto store = world.makeStore();
    const Date t0 = world.clock.now();
    refreshNow(*store);
    world.clock.advance(300);
    refreshNow(*store);

    const Decimal spot = dec("37010.25000001");
    EXPECT_EQ(store->snapshot().totalValue, spot);
    EXPECT_EQ(
        store->status(Exchange::gateio),
        (ExchangeRefreshStatus{ExchangeRefreshStatus::State::connected(), world.clock.now(), {}}));
    EXPECT_EQ(store->valueHistory(),
              (std::vector<PortfolioValuePoint>{{t0, spot}, {world.clock.now(), spot}}));
    EXPECT_EQ(store->twentyFourHourPnL(), Decimal());
}

TEST_F(PortfolioStoreHistoryTest, ANewAccountTypeArchivesTheHistory)
{
    auto store = world.makeStore();
    refreshNow(*store);
    store->addCapitalFlow(Decimal(5), world.clock.now());
    world.clock.advance(600);
    binance->answer(result(Exchange::binance, "100", "50"));
    refreshNow(*store);

    EXPECT_EQ(store->valueHistory(), (std::vector<PortfolioValuePoint>{{world.clock.now(), 150}}));
    EXPECT_FALSE(store->twentyFourHourPnL().has_value());  // the only point is "now"
    world.settleFiles();
    const QStringList archives =
        QDir(world.folder()).entryList({QStringLiteral("portfolio-history-archive-*.json")});
    ASSERT_EQ(archives.size(), 1);
    const auto archive = world.readHistory(archives.front());
    ASSERT_TRUE(archive);
    EXPECT_EQ(archive->coverage, QStringLiteral("binance:现货"));
    EXPECT_EQ(archive->points.size(), 1U);
    EXPECT_EQ(archive->flows->size(), 1U);
    EXPECT_EQ(world.readHistory(world.historyFile())->coverage,
              QStringLiteral("binance:合约,现货"));
    EXPECT_EQ(store->capitalFlows().size(), 1U);
}

TEST_F(PortfolioStoreHistoryTest, CapitalFlowsAreCheckedOrderedSavedAndTakenOut)
{
    auto store = storeThatRoseTo130();
    EXPECT_EQ(store->twentyFourHourPnL(), Decimal(30));

    const Date now = world.clock.now();
    store->addCapitalFlow(Decimal(5), now.addingSeconds(1));  // in the future
    store->addCapitalFlow(Decimal(0), now);
    EXPECT_TRUE(store->capitalFlows().empty());
    store->addCapitalFlow(Decimal(20), now);
    store->addCapitalFlow(Decimal(-3), now.addingSeconds(-300));
    store->addCapitalFlow(Decimal(7), now);
    ASSERT_EQ(store->capitalFlows().size(), 3U);
    EXPECT_EQ(store->capitalFlows()[0].amountUSD, Decimal(-3));
    EXPECT_EQ(store->capitalFlows()[1].amountUSD, Decimal(20));
    EXPECT_EQ(store->twentyFourHourPnL(), Decimal(30));  // only with the setting on

    world.defaults.setValue(QStringLiteral("adjustExternalFlows"), true);
    store->updatePerformance(store->lastUpdated());
    EXPECT_EQ(store->twentyFourHourPnL(), Decimal(6));

    store->removeCapitalFlow(store->capitalFlows()[1].id);
    EXPECT_EQ(store->twentyFourHourPnL(), Decimal(26));
    const std::vector<CapitalFlow> kept = store->capitalFlows();
    store->removeCapitalFlow(Uuid::random());
    EXPECT_EQ(world.readHistory(world.historyFile())->flows, kept);

    store.reset();
    store = world.makeStore();
    EXPECT_EQ(store->capitalFlows(), kept);
}

// Every flow the store takes must read back from its file: an amount whose plain digits the
// file's reader refuses would lose the whole history at the next start.
TEST_F(PortfolioStoreHistoryTest, LargestAndSmallestFlowsReadBackAfterARestart)
{
    auto store = storeThatRoseTo130();
    const Date now = world.clock.now();
    const Decimal largest = CapitalFlowLedger::largestAmount();
    const Decimal smallest = *Decimal::parse("1e-1000");  // the smallest amount that parses
    for (const Decimal& tooLarge : {largest + *Decimal::parse("0.01"), *Decimal::parse("1e400")}) {
        store->addCapitalFlow(tooLarge, now);
        store->addCapitalFlow(-tooLarge, now);
    }
    EXPECT_TRUE(store->capitalFlows().empty());
    store->addCapitalFlow(largest, now.addingSeconds(-60));
    store->addCapitalFlow(-largest, now.addingSeconds(-30));
    store->addCapitalFlow(smallest, now);
    store->addCapitalFlow(-smallest, now);
    ASSERT_EQ(store->capitalFlows().size(), 4U);

    // Taken out of the figures, the largest flow leaves an exact, finite PnL.
    store->removeCapitalFlow(store->capitalFlows()[1].id);
    world.defaults.setValue(QStringLiteral("adjustExternalFlows"), true);
    store->updatePerformance(store->lastUpdated());
    EXPECT_EQ(store->twentyFourHourPnL(), Decimal(30) - largest);
    EXPECT_EQ(store->twentyFourHourPnL()->toDouble(), -999'999'999'999'970.0);

    const std::vector<CapitalFlow> flows = store->capitalFlows();
    const std::vector<PortfolioValuePoint> points = store->valueHistory();
    ASSERT_EQ(points.size(), 2U);
    world.settleFiles();
    store.reset();
    store = world.makeStore();
    EXPECT_EQ(store->capitalFlows(), flows);
    EXPECT_EQ(store->valueHistory(), points);
    EXPECT_EQ(world.files().filter(QStringLiteral("archive")), QStringList());
}

TEST_F(PortfolioStoreHistoryTest, AlertsFollowOnlyFreshCompleteData)
{
    world.defaults.setValue(PortfolioAlerts::enabledKey.toString(), true);
    world.defaults.setValue(PortfolioAlerts::upperKey.toString(), QStringLiteral("90"));
    binance->fail(ExchangeAPIError::network());
    auto store = world.makeStore();
    refreshNow(*store);
    EXPECT_TRUE(world.notifier.notifications().empty());

    binance->answer(result(Exchange::binance, "100"));
    refreshNow(*store);
    ASSERT_EQ(world.notifier.notifications().size(), 1U);
    EXPECT_EQ(world.notifier.notifications()[0].body, QStringLiteral("资产达到上限"));
}

TEST_F(PortfolioStoreHistoryTest, ExportAndMenuBarTitle)
{
    auto store = world.makeStore();
    refreshNow(*store);
    store->exportHistoryCSV();
    ASSERT_EQ(world.savePrompt.proposedNames().size(), 1);
    world.savePrompt.answer(world.temporary.path());  // a folder: the write fails
    world.settleFiles();
    EXPECT_EQ(store->exportError(), QStringLiteral("导出失败，请选择可写入的位置后重试。"));
    store->clearExportError();
    store->exportHistoryCSV();
    world.savePrompt.answer(world.temporary.path() + QStringLiteral("/out.csv"));
    world.settleFiles();
    EXPECT_FALSE(store->exportError().has_value());
    EXPECT_TRUE(QFile::exists(world.temporary.path() + QStringLiteral("/out.csv")));

    FakeHttpTransport transport;
    transport.fail("GET", QStringLiteral("/stats/eurofxref/eurofxref-daily.xml"));
    AppSettings settings(world.defaults, transport, world.clock);
    world.clock.advance(300);
    binance->answer(result(Exchange::binance, "112.5"));
    refreshNow(*store);
    EXPECT_EQ(store->menuBarTitle(MenuBarDisplayMode::totalWithChange, settings),
              QStringLiteral("$112 +12.50%"));
    EXPECT_EQ(store->menuBarTitle(MenuBarDisplayMode::iconOnly, settings), std::nullopt);
}

}  // namespace
