// One store over the real connectors and the real network stack, each exchange played by a
// loopback fixture server that checks its signatures and serves its recorded replies.

#include "store/PortfolioStore.h"

#include "models/JsonReader.h"
#include "models/JsonValue.h"
#include "models/JsonWriter.h"
#include "networking/NetworkHttpTransport.h"
#include "platform/MemoryDefaultsStore.h"
#include "security/ConnectorFactory.h"
#include "security/LocalCredentialStore.h"
#include "store/PortfolioDiskWriter.h"
#include "store/PortfolioFiles.h"

#include "support/BitgetFixtureSignature.h"
#include "support/BybitFixtureSignature.h"
#include "support/ExchangeFixtureServer.h"
#include "support/FixtureSignatures.h"
#include "support/GateFixtureSignature.h"
#include "support/ManualClock.h"
#include "support/OKXFixtureSignature.h"
#include "support/RecordingNotifier.h"
#include "support/TaskResult.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>

#include <algorithm>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

namespace vantrell {
namespace {

Decimal dec(const char* text)
{
    return *Decimal::parse(text);
}

struct ExchangeSetup {
    Exchange exchange;
    QString fixtureFolder;
    std::vector<std::pair<CredentialField, QString>> credentials;
    SignatureCheck signature;
};

std::vector<ExchangeSetup> setups()
{
    return {
        {Exchange::binance,
         u"binance"_qs,
         {{CredentialField::binanceAPIKey, u"fixture-key"_qs},
          {CredentialField::binanceSecretKey, u"fixture-secret"_qs}},
         FixtureSignatures::binance(u"fixture-key"_qs, u"fixture-secret"_qs)},
        {Exchange::okx,
         u"okx"_qs,
         {{CredentialField::okxAPIKey, u"fixture-key"_qs},
          {CredentialField::okxSecretKey, u"okx-secret"_qs},
          {CredentialField::okxPassphrase, u"okx-pass"_qs}},
         okxFixtureSignature(u"fixture-key"_qs, u"okx-secret"_qs, u"okx-pass"_qs)},
        {Exchange::bybit,
         u"bybit"_qs,
         {{CredentialField::bybitAPIKey, u"bybit-key"_qs},
          {CredentialField::bybitSecretKey, u"bybit-secret"_qs}},
         bybitFixtureSignature(u"bybit-key"_qs, u"bybit-secret"_qs)},
        {Exchange::bitget,
         u"bitget"_qs,
         {{CredentialField::bitgetAPIKey, u"bitget-key"_qs},
          {CredentialField::bitgetSecretKey, u"bitget-secret"_qs},
          {CredentialField::bitgetPassphrase, u"bitget-pass"_qs}},
         bitgetFixtureSignature(u"bitget-key"_qs, u"bitget-secret"_qs, u"bitget-pass"_qs)},
        {Exchange::gateio,
         u"gate"_qs,
         {{CredentialField::gateAPIKey, u"gate-key"_qs},
          {CredentialField::gateSecretKey, u"gate-secret"_qs}},
         gateFixtureSignature(u"gate-key"_qs, u"gate-secret"_qs)},
    };
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

// The recorded replies hold assets without a usable price on purpose; they are worth nothing but
// make a result incomplete, and only complete data earns a history point. Names are per exchange:
// Bitget prices its "usdc", Bybit does not.
using AssetNames = std::set<std::string>;

const std::map<QString, AssetNames>& unpricedAssets()
{
    static const std::map<QString, AssetNames> names = {
        {u"binance"_qs, {"NOPRICE", "BAD"}},       {u"okx"_qs, {"NOPRICE", "BAD"}},
        {u"bybit"_qs, {"NOPRICE", "ZPX", "usdc"}}, {u"bitget"_qs, {"NOPRICE"}},
        {u"gate"_qs, {"NOPRICE", "GONE", "usdt"}},
    };
    return names;
}

bool isRowOf(const JsonValue& row, const AssetNames& assets)
{
    if (!row.isObject()) {
        return false;
    }
    for (const char* key : {"asset", "coin", "currency", "ccy"}) {
        const JsonValue* asset = row.find(key);
        if (asset != nullptr && asset->isString() && assets.contains(asset->text())) {
            return true;
        }
    }
    return false;
}

void dropRows(JsonValue& value, const AssetNames& assets)
{
    if (value.isArray()) {
        std::erase_if(value.items(),
                      [&assets](const JsonValue& row) { return isRowOf(row, assets); });
        for (JsonValue& item : value.items()) {
            dropRows(item, assets);
        }
    } else if (value.isObject()) {
        for (auto& member : value.members()) {
            dropRows(member.value, assets);
        }
    }
}

// Serves the exchange's recorded replies without the rows of unpriced assets.
void servePriced(ExchangeFixtureServer& server, const QString& folder)
{
    const JsonValue routes =
        JsonReader::parse(ExchangeFixtureServer::fixture(folder + u"/routes.json"_qs));
    for (const JsonValue& route : routes.items()) {
        const QString file = QString::fromStdString(route.find("file")->text());
        JsonValue body = JsonReader::parse(ExchangeFixtureServer::fixture(folder + u'/' + file));
        dropRows(body, unpricedAssets().at(folder));
        const LoopbackReply reply = LoopbackReply::json(200, JsonWriter::write(body));
        const QByteArray method = QByteArray::fromStdString(route.find("method")->text());
        const QByteArray path = QByteArray::fromStdString(route.find("path")->text());
        if (const JsonValue* query = route.find("query")) {
            server.serve(method, path, QByteArray::fromStdString(query->text()), reply);
        } else {
            server.serve(method, path, reply);
        }
    }
}

const QString secondBinanceAccount = u"6F1E2C4A-0B7D-4E59-9C3A-2D8F5B1A7E60"_qs;
const QByteArray gateAccountsPath = QByteArrayLiteral("/api/v4/spot/accounts");

class PortfolioStoreEndToEndTest : public ::testing::Test {
protected:
    PortfolioStoreEndToEndTest()
    {
        LocalCredentialStore main(defaults);
        LocalCredentialStore second(defaults, secondBinanceAccount);
        for (ExchangeSetup& setup : setups()) {
            auto server = std::make_unique<ExchangeFixtureServer>(setup.signature);
            servePriced(*server, setup.fixtureFolder);
            for (const auto& [field, value] : setup.credentials) {
                EXPECT_TRUE(main.setValue(value, field));
                if (setup.exchange == Exchange::binance) {
                    EXPECT_TRUE(second.setValue(value, field));
                }
            }
            factories.emplace(
                setup.exchange,
                ConnectorFactory(server->endpoints(), NetworkHttpTransport::shared(), clock));
            servers.emplace(setup.exchange, std::move(server));
        }
        EXPECT_TRUE(main.saveAccount({secondBinanceAccount, Exchange::binance, u"副账户"_qs}));
    }

    ProviderFactory providerFactory()
    {
        return [this](const LocalCredentialStore& credentials, Exchange exchange) {
            return factories.at(exchange).provider(exchange, credentials);
        };
    }

    // A store over the same folder and defaults, with its own writer, that only loads.
    std::unique_ptr<PortfolioStore> makeStore()
    {
        writer = std::make_unique<PortfolioDiskWriter>();
        PortfolioStore::Services services(defaults, clock, notifier,
                                          SupportFolder(folder.path() + u"/Vantrell"_qs));
        services.writer = writer.get();
        services.timeZone = QTimeZone(QByteArrayLiteral("UTC"));
        return std::make_unique<PortfolioStore>(LocalCredentialStore(defaults), providerFactory(),
                                                std::move(services), false);
    }

    void refresh(PortfolioStore& store, bool force)
    {
        ASSERT_TRUE(test::runTask(store.refreshNow(force)).succeeded());
        writer->flush();
        QCoreApplication::sendPostedEvents();
    }

    // Every recorded route of Gate answers `reply` from now on.
    void failGate(const LoopbackReply& reply)
    {
        ExchangeFixtureServer& gate = *servers.at(Exchange::gateio);
        for (const char* path :
             {"/api/v4/spot/accounts", "/api/v4/spot/tickers", "/api/v4/futures/usdt/accounts",
              "/api/v4/futures/usdt/positions"}) {
            gate.serve("GET", QByteArray(path), reply);
        }
    }

    qsizetype gateAccountRequests() const
    {
        return servers.at(Exchange::gateio)->requestsTo(gateAccountsPath).size();
    }

    qsizetype allRequests() const
    {
        qsizetype count = 0;
        for (const auto& [exchange, server] : servers) {
            count += server->requests().size();
        }
        return count;
    }

    QTemporaryDir folder;
    MemoryDefaultsStore defaults;
    ManualClock clock;
    RecordingNotifier notifier;
    std::map<Exchange, std::unique_ptr<ExchangeFixtureServer>> servers;
    std::map<Exchange, ConnectorFactory> factories;
    std::unique_ptr<PortfolioDiskWriter> writer;
};

// The same portfolio: equal totals and accounts, and the same rows. The order of the rows follows
// the order in which the exchanges' results arrived, which the network decides.
bool holdsTheSameData(const PortfolioSnapshot& a, const PortfolioSnapshot& b)
{
    return a.totalValue == b.totalValue && a.dailyPnL == b.dailyPnL &&
           a.dailyChangePercent == b.dailyChangePercent && a.exchanges == b.exchanges &&
           a.isLive == b.isLive &&
           std::is_permutation(a.positions.begin(), a.positions.end(), b.positions.begin(),
                               b.positions.end()) &&
           std::is_permutation(a.balances.begin(), a.balances.end(), b.balances.begin(),
                               b.balances.end());
}

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
    EXPECT_EQ(ofAccount(u"binance"_qs), ofAccount(secondBinanceAccount));

    for (Exchange exchange : order) {
        const ExchangeRefreshStatus status = store->status(exchange);
        EXPECT_EQ(status, (ExchangeRefreshStatus{ExchangeRefreshStatus::State::connected(),
                                                 firstRefresh, QString()}))
            << toStored(exchange).toStdString() << ": " << status.detail.toStdString();
    }
    ASSERT_EQ(store->valueHistory().size(), 1u);
    EXPECT_EQ(store->valueHistory().front().totalValue, first.totalValue);
    EXPECT_TRUE(QFile::exists(folder.path() + u"/Vantrell/"_qs + PortfolioFiles::cacheFileName));
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
    const qsizetype requestsBefore = allRequests();
    auto restarted = makeStore();
    EXPECT_TRUE(holdsTheSameData(restarted->snapshot(), kept));
    EXPECT_EQ(restarted->valueHistory(), history);
    EXPECT_EQ(allRequests(), requestsBefore);
}

}  // namespace
}  // namespace vantrell
