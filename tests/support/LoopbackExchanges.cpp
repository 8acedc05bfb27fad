#include "support/LoopbackExchanges.h"

#include "models/JsonReader.h"
#include "models/JsonValue.h"
#include "models/JsonWriter.h"
#include "networking/HttpTransport.h"
#include "security/ConnectorFactory.h"
#include "security/LocalCredentialStore.h"
#include "support/BitgetFixtureSignature.h"
#include "support/BybitFixtureSignature.h"
#include "support/GateFixtureSignature.h"
#include "support/OKXFixtureSignature.h"

#include <algorithm>
#include <optional>
#include <set>
#include <string>
#include <utility>

namespace vantrell {

// Hands every request on, with its time-out shortened when a test asks for it, so a silent
// server is given up on in a fraction of a second. Not a coroutine: nothing of it is used once
// the request is on its way.
class LoopbackExchanges::TimeoutCappingTransport final : public HttpTransport {
public:
    explicit TimeoutCappingTransport(HttpTransport& inner) : m_inner(inner) {}

    QCoro::Task<HttpResponse> perform(HttpRequest request) override
    {
        request.timeout = std::min(request.timeout, longest);
        if (deadline) {
            request.deadline = deadline;
        }
        return m_inner.perform(std::move(request));
    }

    std::chrono::milliseconds longest = std::chrono::milliseconds::max();
    std::optional<std::chrono::milliseconds> deadline;

private:
    HttpTransport& m_inner;
};

namespace {

QString fixtureFolder(Exchange exchange)
{
    return exchange == Exchange::gateio ? u"gate"_qs : caseName(exchange);
}

// One entry of an exchange's routes.json.
struct RecordedRoute {
    QByteArray method;
    QByteArray path;
    std::optional<QByteArray> query;
    QString file;
};

std::vector<RecordedRoute> recordedRoutes(const QString& folder)
{
    const JsonValue routes =
        JsonReader::parse(ExchangeFixtureServer::fixture(folder + u"/routes.json"_qs));
    std::vector<RecordedRoute> recorded;
    for (const JsonValue& route : routes.items()) {
        std::optional<QByteArray> query;
        if (const JsonValue* text = route.find("query")) {
            query = QByteArray::fromStdString(text->text());
        }
        recorded.push_back({QByteArray::fromStdString(route.find("method")->text()),
                            QByteArray::fromStdString(route.find("path")->text()), std::move(query),
                            QString::fromStdString(route.find("file")->text())});
    }
    return recorded;
}

// The public ticker lists: the only routes that carry no signature.
bool isPublic(const QByteArray& path)
{
    static const std::set<QByteArray> paths = {"/api/v3/ticker/price", "/api/v5/market/tickers",
                                               "/v5/market/tickers", "/api/v2/spot/market/tickers",
                                               "/api/v4/spot/tickers"};
    return paths.contains(path);
}

// The recorded replies hold assets without a usable price on purpose; they are worth nothing but
// make a result incomplete, and only complete data earns a history point. Names are per exchange:
// Bitget prices its "usdc", Bybit does not.
using AssetNames = std::set<std::string>;

const AssetNames& unpricedAssets(Exchange exchange)
{
    static const std::map<Exchange, AssetNames> names = {
        {Exchange::binance, {"NOPRICE", "BAD"}},         {Exchange::okx, {"NOPRICE", "BAD"}},
        {Exchange::bybit, {"NOPRICE", "ZPX", "usdc"}},   {Exchange::bitget, {"NOPRICE"}},
        {Exchange::gateio, {"NOPRICE", "GONE", "usdt"}},
    };
    return names.at(exchange);
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
void servePriced(ExchangeFixtureServer& server, Exchange exchange)
{
    const QString folder = fixtureFolder(exchange);
    for (const RecordedRoute& route : recordedRoutes(folder)) {
        JsonValue body =
            JsonReader::parse(ExchangeFixtureServer::fixture(folder + u'/' + route.file));
        dropRows(body, unpricedAssets(exchange));
        const LoopbackReply reply = LoopbackReply::json(200, JsonWriter::write(body));
        if (route.query) {
            server.serve(route.method, route.path, *route.query, reply);
        } else {
            server.serve(route.method, route.path, reply);
        }
    }
}

}  // namespace

LoopbackExchanges::LoopbackExchanges(HttpTransport& transport, const Clock& clock, Replies replies)
    : m_replies(replies), m_clock(&clock)
{
    for (Exchange exchange : allExchanges) {
        auto server = makeServer(exchange, LoopbackServer::Scheme::http);
        m_destinations->emplace(
            exchange,
            Destination{server->endpoints(), std::make_shared<TimeoutCappingTransport>(transport)});
        m_servers.emplace(exchange, Server{std::move(server), {}});
    }
}

std::unique_ptr<ExchangeFixtureServer> LoopbackExchanges::makeServer(
    Exchange exchange, LoopbackServer::Scheme scheme) const
{
    auto server = std::make_unique<ExchangeFixtureServer>(signatureCheck(exchange, {}), scheme);
    if (m_replies == Replies::priced) {
        servePriced(*server, exchange);
    } else {
        server->serveRecorded(fixtureFolder(exchange));
    }
    return server;
}

LoopbackExchanges::~LoopbackExchanges() = default;

void LoopbackExchanges::accept(Exchange exchange, const Credentials& credentials)
{
    Server& entry = m_servers.at(exchange);
    entry.accepted.push_back(credentials);
    entry.server->setSignatureCheck(signatureCheck(exchange, entry.accepted));
}

void LoopbackExchanges::acceptOnly(Exchange exchange, const Credentials& credentials)
{
    m_servers.at(exchange).accepted.clear();
    accept(exchange, credentials);
}

void LoopbackExchanges::failRoutes(Exchange exchange, const LoopbackReply& reply, Routes which)
{
    ExchangeFixtureServer& fixture = server(exchange);
    for (const RecordedRoute& route : recordedRoutes(fixtureFolder(exchange))) {
        if (which == Routes::all || !isPublic(route.path)) {
            fixture.serve(route.method, route.path, reply);
        }
    }
    ExchangeFixtureServer::resetCache();
}

void LoopbackExchanges::closeAll()
{
    for (auto& [exchange, entry] : m_servers) {
        entry.server->loopback().close();
    }
}

void LoopbackExchanges::pointAt(Exchange exchange, const QString& baseURL)
{
    m_destinations->at(exchange).endpoints = ExchangeEndpoints::allAt(baseURL);
}

void LoopbackExchanges::serveOverTls(Exchange exchange)
{
    Server& entry = m_servers.at(exchange);
    entry.server = makeServer(exchange, LoopbackServer::Scheme::https);
    entry.server->setSignatureCheck(signatureCheck(exchange, entry.accepted));
    m_destinations->at(exchange).endpoints = entry.server->endpoints();
}

void LoopbackExchanges::shortenTimeout(Exchange exchange, std::chrono::milliseconds silence)
{
    m_destinations->at(exchange).transport->longest = silence;
}

void LoopbackExchanges::shortenDeadline(Exchange exchange, std::chrono::milliseconds total)
{
    m_destinations->at(exchange).transport->deadline = total;
}

qsizetype LoopbackExchanges::requestCount() const
{
    qsizetype count = 0;
    for (const auto& [exchange, entry] : m_servers) {
        count += entry.server->requests().size();
    }
    return count;
}

ProviderFactory LoopbackExchanges::providerFactory() const
{
    return [destinations = m_destinations, clock = m_clock](const LocalCredentialStore& credentials,
                                                            Exchange exchange) {
        const Destination& destination = destinations->at(exchange);
        return ConnectorFactory(destination.endpoints, *destination.transport, *clock)
            .provider(exchange, credentials);
    };
}

std::vector<CredentialField> LoopbackExchanges::fields(Exchange exchange)
{
    switch (exchange) {
        case Exchange::binance:
            return {CredentialField::binanceAPIKey, CredentialField::binanceSecretKey};
        case Exchange::okx:
            return {CredentialField::okxAPIKey, CredentialField::okxSecretKey,
                    CredentialField::okxPassphrase};
        case Exchange::bybit:
            return {CredentialField::bybitAPIKey, CredentialField::bybitSecretKey};
        case Exchange::bitget:
            return {CredentialField::bitgetAPIKey, CredentialField::bitgetSecretKey,
                    CredentialField::bitgetPassphrase};
        case Exchange::gateio:
            return {CredentialField::gateAPIKey, CredentialField::gateSecretKey};
    }
    return {};
}

bool LoopbackExchanges::store(LocalCredentialStore& store, Exchange exchange,
                              const Credentials& credentials)
{
    const std::vector<CredentialField> fieldList = fields(exchange);
    const QString values[] = {credentials.apiKey, credentials.secretKey, credentials.passphrase};
    bool stored = true;
    for (std::size_t i = 0; i < fieldList.size(); ++i) {
        stored = store.setValue(values[i], fieldList[i]) && stored;
    }
    return stored;
}

SignatureCheck LoopbackExchanges::signatureCheck(Exchange exchange,
                                                 const std::vector<Credentials>& accepted)
{
    if (accepted.empty()) {
        // Empty credentials: every signed request carries a key that differs.
        return ruleFor(exchange, Credentials{});
    }
    std::vector<SignatureCheck> rules;
    for (const Credentials& credentials : accepted) {
        rules.push_back(ruleFor(exchange, credentials));
    }
    return [rules](const RecordedRequest& request) -> std::optional<LoopbackReply> {
        std::optional<LoopbackReply> refusal;
        for (const SignatureCheck& rule : rules) {
            std::optional<LoopbackReply> answer = rule(request);
            if (!answer) {
                return std::nullopt;
            }
            if (!refusal) {
                refusal = std::move(answer);
            }
        }
        return refusal;
    };
}

SignatureCheck LoopbackExchanges::ruleFor(Exchange exchange, const Credentials& credentials)
{
    const auto& [key, secret, passphrase] = credentials;
    switch (exchange) {
        case Exchange::binance:
            return FixtureSignatures::binance(key, secret);
        case Exchange::okx:
            return okxFixtureSignature(key, secret, passphrase);
        case Exchange::bybit:
            return bybitFixtureSignature(key, secret);
        case Exchange::bitget:
            return bitgetFixtureSignature(key, secret, passphrase);
        case Exchange::gateio:
            return gateFixtureSignature(key, secret);
    }
    return FixtureSignatures::none();
}

}  // namespace vantrell
