// A store that goes away while its work goes on: fetches still waiting on the network, file
// writes whose outcome has not come back, a wake from sleep after the store is gone. The late
// work must end quietly, touch nothing of the store and write nothing. Run under the sanitizers,
// a resumed coroutine that uses the freed store fails, and one that never ends leaks.

#include "files/PortfolioDiskWriter.h"
#include "files/PortfolioFiles.h"
#include "networking/NetworkHttpTransport.h"
#include "platform/MemoryDefaultsStore.h"
#include "platform/WakeMonitor.h"
#include "security/AdditionalExchangeAccount.h"
#include "security/LocalCredentialStore.h"
#include "settings/AppSettings.h"
#include "store/PortfolioStore.h"

#include "support/FakeHttpTransport.h"
#include "support/HoldingHttpTransport.h"
#include "support/LoopbackExchanges.h"
#include "support/ManualClock.h"
#include "support/RecordingNotifier.h"
#include "support/SpinUntil.h"
#include "support/TaskResult.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDirIterator>
#include <QFile>
#include <QTemporaryDir>

#include <algorithm>
#include <map>
#include <memory>

namespace vantrell {
namespace {

const QString secondBinanceAccount = u"5A1B2C3D-4E5F-4061-8172-93A4B5C6D7E8"_qs;

LoopbackExchanges::Credentials credentialsOf(Exchange exchange, const QString& account = {})
{
    const QString name = toStored(exchange) + account;
    return {u"key-"_qs + name, u"secret-"_qs + name, u"pass-"_qs + name};
}

// Every file below `folder` with its bytes.
std::map<QString, QByteArray> filesUnder(const QString& folder)
{
    std::map<QString, QByteArray> files;
    QDirIterator found(folder, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (found.hasNext()) {
        QFile file(found.next());
        EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << file.fileName().toStdString();
        files[file.fileName()] = file.readAll();
    }
    return files;
}

class PortfolioStoreLifetimeTest : public ::testing::Test {
protected:
    PortfolioStoreLifetimeTest()
    {
        LocalCredentialStore main(defaults);
        for (Exchange exchange : allExchanges) {
            exchanges.accept(exchange, credentialsOf(exchange));
            EXPECT_TRUE(LoopbackExchanges::store(main, exchange, credentialsOf(exchange)));
        }
        LocalCredentialStore second = main.forAccount(secondBinanceAccount);
        const auto secondKeys = credentialsOf(Exchange::binance, u"-second"_qs);
        exchanges.accept(Exchange::binance, secondKeys);
        EXPECT_TRUE(LoopbackExchanges::store(second, Exchange::binance, secondKeys));
        EXPECT_TRUE(main.saveAccount({secondBinanceAccount, Exchange::binance, u"副账户"_qs}));
    }

    ~PortfolioStoreLifetimeTest() override
    {
        // Whatever a failed case left running ends here, before the servers go.
        exchanges.closeAll();
        EXPECT_TRUE(transport.drain());
    }

    QString dataFolder() const { return temporary.path() + u"/data/Vantrell"_qs; }

    std::unique_ptr<PortfolioStore> makeStore(bool startAutomatically = false)
    {
        return makeStore(SupportFolder(dataFolder()), startAutomatically);
    }
    std::unique_ptr<PortfolioStore> makeStore(SupportFolder folder, bool startAutomatically)
    {
        PortfolioStore::Services services(defaults, clock, notifier, std::move(folder));
        services.writer = &writer;
        services.wakeMonitor = &wake;
        return std::make_unique<PortfolioStore>(LocalCredentialStore(defaults),
                                                exchanges.providerFactory(), std::move(services),
                                                startAutomatically);
    }

    // Writes requested so far are done and their outcomes delivered to whoever still lives.
    void settleWrites()
    {
        writer.flush();
        QCoreApplication::sendPostedEvents();
    }

    // Every outcome of the requests in flight has come back and waits in the transport.
    bool allRepliesHeld()
    {
        return test::spinUntil([this] {
            return transport.inFlight() > 0 && transport.heldCount() == transport.inFlight();
        });
    }

    QTemporaryDir temporary;
    MemoryDefaultsStore defaults;
    ManualClock clock;
    RecordingNotifier notifier;
    PortfolioDiskWriter writer;
    WakeMonitor wake;
    HoldingHttpTransport transport{NetworkHttpTransport::shared()};
    LoopbackExchanges exchanges{transport, clock};
};

TEST_F(PortfolioStoreLifetimeTest, RepliesArrivingAfterTheStoreIsGoneChangeNoFile)
{
    {
        auto earlier = makeStore();
        ASSERT_TRUE(test::runTask(earlier->refreshNow(true)).succeeded());
        settleWrites();
    }
    const std::map<QString, QByteArray> before = filesUnder(dataFolder());
    ASSERT_EQ(before.size(), 1u) << "the snapshot cache";

    auto store = makeStore();
    transport.setHolding(true);
    clock.advance(60);
    store->refresh(true);
    ASSERT_TRUE(store->isRefreshing());
    ASSERT_TRUE(allRepliesHeld());
    store.reset();

    EXPECT_TRUE(transport.drain());
    settleWrites();
    EXPECT_EQ(filesUnder(dataFolder()), before);
}

TEST_F(PortfolioStoreLifetimeTest, ConnectionsDroppedAfterTheStoreIsGoneEndItsRefresh)
{
    for (Exchange exchange : allExchanges) {
        exchanges.silence(exchange);
    }
    auto store = makeStore();
    store->refresh(true);
    ASSERT_TRUE(test::spinUntil([this] {
        return std::all_of(allExchanges.begin(), allExchanges.end(), [this](Exchange exchange) {
            return !exchanges.server(exchange).requests().isEmpty();
        });
    }));
    store.reset();

    exchanges.closeAll();
    EXPECT_TRUE(transport.drain());
    settleWrites();
    EXPECT_TRUE(filesUnder(dataFolder()).empty());
}

TEST_F(PortfolioStoreLifetimeTest, WriteOutcomesReachOnlyALivingStore)
{
    // Where the data folder should be lies a file: every write fails.
    QFile blocker(temporary.path() + u"/blocked"_qs);
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    const SupportFolder blocked(blocker.fileName() + u"/Vantrell"_qs);

    auto living = makeStore(blocked, false);
    ASSERT_TRUE(test::runTask(living->refreshNow(true)).succeeded());
    settleWrites();
    EXPECT_EQ(living->exportError(), PortfolioFiles::cacheFailureMessage);
    living.reset();

    // The failure of a store that is gone by the time it comes back goes nowhere.
    auto gone = makeStore(blocked, false);
    ASSERT_TRUE(test::runTask(gone->refreshNow(true)).succeeded());
    gone.reset();
    settleWrites();

    // A write asked for just before the end is still carried out whole.
    auto last = makeStore();
    ASSERT_TRUE(test::runTask(last->refreshNow(true)).succeeded());
    const QString identity = last->accountIdentity();
    last.reset();
    settleWrites();
    const std::optional<CachedPortfolioSnapshot> cache =
        PortfolioFiles(SupportFolder(dataFolder()), &writer, clock).loadCachedSnapshot();
    ASSERT_TRUE(cache.has_value());
    EXPECT_EQ(cache->identity, identity);
    EXPECT_TRUE(cache->snapshot.isLive);
}

TEST_F(PortfolioStoreLifetimeTest, WakeAfterTheStoreIsGoneStartsNothing)
{
    auto store = makeStore(true);
    ASSERT_TRUE(test::spinUntil([&] { return transport.started() > 0 && !store->isRefreshing(); }));
    const int afterFirstRefresh = transport.started();

    // A wake while the store lives refreshes; the store goes while that refresh waits.
    transport.setHolding(true);
    clock.advance(60);
    Q_EMIT wake.woke();
    EXPECT_GT(transport.started(), afterFirstRefresh);
    ASSERT_TRUE(allRepliesHeld());
    store.reset();
    EXPECT_TRUE(transport.drain());

    const int beforeLateWake = transport.started();
    Q_EMIT wake.woke();
    QCoreApplication::processEvents();
    EXPECT_EQ(transport.started(), beforeLateWake);
}

TEST_F(PortfolioStoreLifetimeTest, StoreGoneBeforeItsFirstRefreshRanStartsNothing)
{
    makeStore(true).reset();  // the first refresh was only queued
    QCoreApplication::processEvents();
    Q_EMIT wake.woke();
    EXPECT_EQ(transport.started(), 0);
}

TEST_F(PortfolioStoreLifetimeTest, ConnectionTestOutlivesTheStore)
{
    auto store = makeStore();
    transport.setHolding(true);
    QCoro::Task<ConnectionTestResult> test = store->testConnection(Exchange::okx);
    ASSERT_TRUE(allRepliesHeld());
    store.reset();

    transport.setHolding(false);
    transport.releaseAll();
    const auto result = test::runTask(std::move(test));
    ASSERT_TRUE(result.value.has_value());
    EXPECT_TRUE(result.value->succeeded()) << result.value->failureMessage->toStdString();
}

TEST(AppSettingsLifetimeTest, SettingsGoneBeforeTheirFirstRateDownloadStartNone)
{
    MemoryDefaultsStore defaults;
    FakeHttpTransport transport;
    ManualClock clock;
    std::make_unique<AppSettings>(defaults, transport, clock).reset();
    QCoreApplication::processEvents();
    EXPECT_EQ(transport.requestCount(), 0);
}

}  // namespace
}  // namespace vantrell
