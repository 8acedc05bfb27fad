#include "support/LoopbackStoreHarness.h"

#include "models/JsonReader.h"
#include "models/JsonValue.h"
#include "models/JsonWriter.h"
#include "networking/NetworkHttpTransport.h"
#include "security/ConnectorFactory.h"
#include "security/CredentialField.h"
#include "security/LocalCredentialStore.h"
#include "store/PortfolioFiles.h"
#include "support/BitgetFixtureSignature.h"
#include "support/BybitFixtureSignature.h"
#include "support/FixtureSignatures.h"
#include "support/GateFixtureSignature.h"
#include "support/OKXFixtureSignature.h"
#include "support/TaskResult.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QIODevice>

#include <algorithm>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace vantrell::test {

// Hands every request to the process-wide transport, with its time-out shortened when a test
// asks for it, so a silent server is given up on in a fraction of a second.
class LoopbackStoreHarness::TimeoutCappingTransport final : public HttpTransport {
public:
    QCoro::Task<HttpResponse> perform(HttpRequest request) override
    {
        request.timeout = std::min(request.timeout, longest);
        return NetworkHttpTransport::shared().perform(std::move(request));
    }

    std::chrono::milliseconds longest = std::chrono::milliseconds::max();
};

namespace {

const QString binanceKey = QStringLiteral("fixture-key");
const QString binanceSecret = QStringLiteral("fixture-secret");
const QString secondBinanceKey = QStringLiteral("second-key");
const QString secondBinanceSecret = QStringLiteral("second-secret");

using Credentials = std::vector<std::pair<CredentialField, QString>>;

struct ExchangeSetup {
    Exchange exchange;
    QString fixtureFolder;
    Credentials credentials;
    SignatureCheck signature;
};

std::vector<ExchangeSetup> setups(bool withSecondBinanceAccount)
{
    using F = CredentialField;
    return {
        {Exchange::binance,
         u"binance"_qs,
         {{F::binanceAPIKey, binanceKey}, {F::binanceSecretKey, binanceSecret}},
         LoopbackStoreHarness::binanceSignature(withSecondBinanceAccount)},
        {Exchange::okx,
         u"okx"_qs,
         {{F::okxAPIKey, u"fixture-key"_qs},
          {F::okxSecretKey, u"okx-secret"_qs},
          {F::okxPassphrase, u"okx-pass"_qs}},
         okxFixtureSignature(u"fixture-key"_qs, u"okx-secret"_qs, u"okx-pass"_qs)},
        {Exchange::bybit,
         u"bybit"_qs,
         {{F::bybitAPIKey, u"bybit-key"_qs}, {F::bybitSecretKey, u"bybit-secret"_qs}},
         bybitFixtureSignature(u"bybit-key"_qs, u"bybit-secret"_qs)},
        {Exchange::bitget,
         u"bitget"_qs,
         {{F::bitgetAPIKey, u"bitget-key"_qs},
          {F::bitgetSecretKey, u"bitget-secret"_qs},
          {F::bitgetPassphrase, u"bitget-pass"_qs}},
         bitgetFixtureSignature(u"bitget-key"_qs, u"bitget-secret"_qs, u"bitget-pass"_qs)},
        {Exchange::gateio,
         u"gate"_qs,
         {{F::gateAPIKey, u"gate-key"_qs}, {F::gateSecretKey, u"gate-secret"_qs}},
         gateFixtureSignature(u"gate-key"_qs, u"gate-secret"_qs)},
    };
}

// The recorded replies hold assets without a usable price on purpose; they are worth nothing but
// make a result incomplete, and only complete data earns a history point. Names are per exchange:
// Bitget prices its "usdc", Bybit does not.
using AssetNames = std::set<std::string>;

const AssetNames& unpricedAssets(const QString& folder)
{
    static const std::map<QString, AssetNames> names = {
        {u"binance"_qs, {"NOPRICE", "BAD"}},       {u"okx"_qs, {"NOPRICE", "BAD"}},
        {u"bybit"_qs, {"NOPRICE", "ZPX", "usdc"}}, {u"bitget"_qs, {"NOPRICE"}},
        {u"gate"_qs, {"NOPRICE", "GONE", "usdt"}},
    };
    return names.at(folder);
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

struct Route {
    QByteArray method;
    QByteArray path;
};

// The exchange's recorded routes, one entry per method and path.
std::vector<Route> routesOf(const QString& folder)
{
    const JsonValue routes =
        JsonReader::parse(ExchangeFixtureServer::fixture(folder + u"/routes.json"_qs));
    std::vector<Route> distinct;
    for (const JsonValue& route : routes.items()) {
        Route r{QByteArray::fromStdString(route.find("method")->text()),
                QByteArray::fromStdString(route.find("path")->text())};
        const bool known = std::any_of(distinct.begin(), distinct.end(), [&r](const Route& d) {
            return d.method == r.method && d.path == r.path;
        });
        if (!known) {
            distinct.push_back(std::move(r));
        }
    }
    return distinct;
}

// Serves the exchange's recorded replies without the rows of unpriced assets.
void servePriced(ExchangeFixtureServer& server, const QString& folder)
{
    const JsonValue routes =
        JsonReader::parse(ExchangeFixtureServer::fixture(folder + u"/routes.json"_qs));
    for (const JsonValue& route : routes.items()) {
        const QString file = QString::fromStdString(route.find("file")->text());
        JsonValue body = JsonReader::parse(ExchangeFixtureServer::fixture(folder + u'/' + file));
        dropRows(body, unpricedAssets(folder));
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

// The public ticker lists: the only routes that carry no signature.
bool isPublic(const QByteArray& path)
{
    static const std::set<QByteArray> paths = {"/api/v3/ticker/price", "/api/v5/market/tickers",
                                               "/v5/market/tickers", "/api/v2/spot/market/tickers",
                                               "/api/v4/spot/tickers"};
    return paths.contains(path);
}

QString folderOf(Exchange exchange)
{
    return exchange == Exchange::gateio ? u"gate"_qs : caseName(exchange);
}

}  // namespace

const QString LoopbackStoreHarness::secondBinanceAccount =
    QStringLiteral("6F1E2C4A-0B7D-4E59-9C3A-2D8F5B1A7E60");
const QString LoopbackStoreHarness::secondBinanceAlias = QStringLiteral("副账户");

LoopbackStoreHarness::LoopbackStoreHarness(bool withSecondBinanceAccount)
{
    LocalCredentialStore main(defaults);
    for (ExchangeSetup& setup : setups(withSecondBinanceAccount)) {
        Loopback loopback;
        loopback.server = std::make_unique<ExchangeFixtureServer>(setup.signature);
        servePriced(*loopback.server, setup.fixtureFolder);
        loopback.endpoints = loopback.server->endpoints();
        loopback.transport = std::make_unique<TimeoutCappingTransport>();
        for (const auto& [field, value] : setup.credentials) {
            EXPECT_TRUE(main.setValue(value, field));
        }
        m_exchanges.emplace(setup.exchange, std::move(loopback));
    }
    if (withSecondBinanceAccount) {
        LocalCredentialStore second(defaults, secondBinanceAccount);
        EXPECT_TRUE(second.setValue(secondBinanceKey, CredentialField::binanceAPIKey));
        EXPECT_TRUE(second.setValue(secondBinanceSecret, CredentialField::binanceSecretKey));
        EXPECT_TRUE(
            main.saveAccount({secondBinanceAccount, Exchange::binance, secondBinanceAlias}));
    }
}

LoopbackStoreHarness::~LoopbackStoreHarness() = default;

SignatureCheck LoopbackStoreHarness::binanceSignature(bool withSecondAccount)
{
    SignatureCheck main = FixtureSignatures::binance(binanceKey, binanceSecret);
    if (!withSecondAccount) {
        return main;
    }
    SignatureCheck second = FixtureSignatures::binance(secondBinanceKey, secondBinanceSecret);
    return [main, second](const RecordedRequest& request) -> std::optional<LoopbackReply> {
        std::optional<LoopbackReply> rejection = main(request);
        return rejection ? second(request) : rejection;
    };
}

ProviderFactory LoopbackStoreHarness::providerFactory()
{
    return [this](const LocalCredentialStore& credentials, Exchange exchange) {
        const Loopback& loopback = m_exchanges.at(exchange);
        return ConnectorFactory(loopback.endpoints, *loopback.transport, clock)
            .provider(exchange, credentials);
    };
}

std::unique_ptr<PortfolioStore> LoopbackStoreHarness::makeStore()
{
    writer = std::make_unique<PortfolioDiskWriter>(
        [disk = m_disk](QIODevice& file, const QByteArray& data) {
            if (!disk->failing) {
                return file.write(data) == data.size();
            }
            const QByteArray half = data.left(data.size() / 2);
            const bool wroteHalf = file.write(half) == half.size();
            disk->cutShort += wroteHalf ? 1 : 0;
            return false;
        });
    PortfolioStore::Services services(defaults, clock, notifier, SupportFolder(folderPath()));
    services.writer = writer.get();
    services.timeZone = QTimeZone(QByteArrayLiteral("UTC"));
    return std::make_unique<PortfolioStore>(LocalCredentialStore(defaults), providerFactory(),
                                            std::move(services), false);
}

void LoopbackStoreHarness::refresh(PortfolioStore& store, bool force)
{
    ASSERT_TRUE(runTask(store.refreshNow(force)).succeeded());
    writer->flush();
    QCoreApplication::sendPostedEvents();
}

void LoopbackStoreHarness::failRoutes(Exchange exchange, const LoopbackReply& reply, Routes which)
{
    ExchangeFixtureServer& fixture = server(exchange);
    for (const Route& route : routesOf(folderOf(exchange))) {
        if (which == Routes::all || !isPublic(route.path)) {
            fixture.serve(route.method, route.path, reply);
        }
    }
    ExchangeFixtureServer::resetCache();
}

void LoopbackStoreHarness::pointAt(Exchange exchange, const QString& baseURL)
{
    m_exchanges.at(exchange).endpoints = ExchangeEndpoints::allAt(baseURL);
}

void LoopbackStoreHarness::shortenTimeout(Exchange exchange, std::chrono::milliseconds silence)
{
    m_exchanges.at(exchange).transport->longest = silence;
}

QString LoopbackStoreHarness::folderPath() const
{
    return temporary.path() + u"/Vantrell"_qs;
}

QString LoopbackStoreHarness::cachePath() const
{
    return folderPath() + u'/' + PortfolioFiles::cacheFileName;
}

QString LoopbackStoreHarness::historyPath()
{
    return folderPath() + u"/portfolio-history-"_qs + identity() + u".json"_qs;
}

QString LoopbackStoreHarness::identity()
{
    return LocalCredentialStore(defaults).portfolioIdentity();
}

qsizetype LoopbackStoreHarness::requestCount() const
{
    qsizetype count = 0;
    for (const auto& [exchange, loopback] : m_exchanges) {
        count += loopback.server->requests().size();
    }
    return count;
}

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

}  // namespace vantrell::test
