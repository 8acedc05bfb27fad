// One store over the real connectors and the real network stack, each exchange played by a
// loopback fixture server that checks its signatures and serves its recorded replies.

#include "store/PortfolioStore.h"

#include "support/LoopbackStoreHarness.h"

#include <gtest/gtest.h>

#include <QFile>

#include <algorithm>
#include <map>
#include <memory>
#include <vector>

namespace vantrell {
namespace {

using test::holdsTheSameData;
using test::LoopbackStoreHarness;

Decimal dec(const char* text)
{
    return *Decimal::parse(text);
}

// What the connector tests establish for each exchange's recorded replies.
const std::map<Exchange, Decimal>& connectorTotals()
{
    static const std::map<Exchange, Decimal> totals = {
        {Exchange::binance, dec("47471.250000005")}, {Exchange::okx, dec("26361.750000005")},
        {Exchange::bybit, dec("27320.500000005")},   {Exchange::bitget, dec("18462.25")},
        {Exchange::gateio, dec("39410.50000001")},
    };
    return totals;
}

const QByteArray gateAccountsPath = QByteArrayLiteral("/api/v4/spot/accounts");

class PortfolioStoreEndToEndTest : public ::testing::Test {
protected:
    std::unique_ptr<PortfolioStore> makeStore() { return world.makeStore(); }
    void refresh(PortfolioStore& store, bool force) { world.refresh(store, force); }

    // Every recorded route of Gate answers `reply` from now on.
    void failGate(const LoopbackReply& reply) { world.failRoutes(Exchange::gateio, reply); }

    qsizetype gateAccountRequests()
    {
        return world.server(Exchange::gateio).requestsTo(gateAccountsPath).size();
    }

    LoopbackStoreHarness world;
    ManualClock& clock = world.clock;
};

TEST_F(PortfolioStoreEndToEndTest, RefreshesFailsOverAndRestartsFromItsFiles)
{
    auto store = makeStore();
    const Date firstRefresh = clock.now();
    refresh(*store, true);

    // The merged snapshot: Binance counts both of its accounts, accounts in name order.
    const PortfolioSnapshot& first = store->snapshot();
    ASSERT_EQ(first.exchanges.size(), 5u);
    const std::vector<Exchange> order = {Exchange::binance, Exchange::bitget, Exchange::bybit,
                                         Exchange::gateio, Exchange::okx};
    Decimal sum;
    for (std::size_t i = 0; i < order.size(); ++i) {
        const Decimal accounts = order[i] == Exchange::binance ? Decimal(2) : Decimal(1);
        EXPECT_EQ(first.exchanges[i].exchange, order[i]) << i;
        EXPECT_EQ(first.exchanges[i].totalValue, connectorTotals().at(order[i]) * accounts)
            << toStored(order[i]).toStdString();
        sum += first.exchanges[i].totalValue;
    }
    EXPECT_EQ(first.totalValue, dec("206497.50000003"));
    EXPECT_EQ(first.totalValue, sum);
    EXPECT_TRUE(first.isLive);
    const auto ofAccount = [&first](const QString& id) {
        return std::count_if(first.balances.begin(), first.balances.end(), [&id](const auto& b) {
            return b.exchange == Exchange::binance && b.accountID == id;
        });
    };
    EXPECT_GT(ofAccount(u"binance"_qs), 0);
    EXPECT_EQ(ofAccount(u"binance"_qs), ofAccount(LoopbackStoreHarness::secondBinanceAccount));

    for (Exchange exchange : order) {
        const ExchangeRefreshStatus status = store->status(exchange);
        EXPECT_EQ(status, (ExchangeRefreshStatus{ExchangeRefreshStatus::State::connected(),
                                                 firstRefresh, QString()}))
            << toStored(exchange).toStdString() << ": " << status.detail.toStdString();
    }
    ASSERT_EQ(store->valueHistory().size(), 1u);
    EXPECT_EQ(store->valueHistory().front().totalValue, first.totalValue);
    EXPECT_TRUE(QFile::exists(world.cachePath()));
    const PortfolioSnapshot kept = first;

    // Gate asks to be left alone for two minutes: its last data stays.
    failGate(LoopbackReply::json(429, R"({"label":"TOO_MANY_REQUESTS"})")
                 .withHeader("Retry-After", "120"));
    clock.advance(30);
    refresh(*store, true);
    const QString rateLimited = u"默认账户：请求频率受限，保留上次数据"_qs;
    EXPECT_TRUE(holdsTheSameData(store->snapshot(), kept));
    EXPECT_EQ(store->status(Exchange::gateio),
              (ExchangeRefreshStatus{ExchangeRefreshStatus::State::failed(rateLimited),
                                     firstRefresh, rateLimited}));
    EXPECT_EQ(store->status(Exchange::okx).state, ExchangeRefreshStatus::State::connected());
    EXPECT_EQ(store->valueHistory().size(), 1u);

    // Not even a forced refresh asks Gate again before the server's wait is over.
    const qsizetype afterRateLimit = gateAccountRequests();
    clock.advance(119);
    refresh(*store, true);
    EXPECT_EQ(gateAccountRequests(), afterRateLimit);
    EXPECT_EQ(store->status(Exchange::gateio).detail, rateLimited);

    // Then Gate's proxy answers with an HTML error page.
    failGate(LoopbackReply::html(502, "<html><body>502 Bad Gateway</body></html>"));
    clock.advance(1);
    refresh(*store, true);
    EXPECT_GT(gateAccountRequests(), afterRateLimit);
    const QString badGateway = u"默认账户：HTTP 502，请检查权限或网络，保留上次数据"_qs;
    EXPECT_TRUE(holdsTheSameData(store->snapshot(), kept));
    EXPECT_EQ(store->status(Exchange::gateio),
              (ExchangeRefreshStatus{ExchangeRefreshStatus::State::failed(badGateway), firstRefresh,
                                     badGateway}));

    // The timer leaves Gate out for an interval, a forced refresh does not.
    const qsizetype afterBadGateway = gateAccountRequests();
    clock.advance(store->refreshInterval() - 1);
    refresh(*store, false);
    EXPECT_EQ(gateAccountRequests(), afterBadGateway);
    EXPECT_EQ(store->status(Exchange::bybit).lastSuccess, clock.now());
    refresh(*store, true);
    EXPECT_GT(gateAccountRequests(), afterBadGateway);
    EXPECT_TRUE(holdsTheSameData(store->snapshot(), kept));
    const std::vector<PortfolioValuePoint> history = store->valueHistory();
    store.reset();

    // A new run over the same files shows the portfolio before any request is answered.
    const qsizetype requestsBefore = world.requestCount();
    auto restarted = makeStore();
    EXPECT_TRUE(holdsTheSameData(restarted->snapshot(), kept));
    EXPECT_EQ(restarted->valueHistory(), history);
    EXPECT_EQ(world.requestCount(), requestsBefore);
}

}  // namespace
}  // namespace vantrell
