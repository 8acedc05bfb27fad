#include "support/LoopbackExchanges.h"

#include "models/JsonReader.h"
#include "models/JsonValue.h"
#include "security/LocalCredentialStore.h"
#include "support/BitgetFixtureSignature.h"
#include "support/BybitFixtureSignature.h"
#include "support/GateFixtureSignature.h"
#include "support/OKXFixtureSignature.h"

namespace vantrell {

namespace {

// Passes a request that any accepted rule passes; otherwise answers with the first refusal.
// With nothing accepted, `none` (a rule no signed request can pass) answers.
SignatureCheck anyOf(std::shared_ptr<std::vector<SignatureCheck>> accepted, SignatureCheck none)
{
    return [accepted, none](const RecordedRequest& request) -> std::optional<LoopbackReply> {
        if (accepted->empty()) {
            return none(request);
        }
        std::optional<LoopbackReply> refusal;
        for (const SignatureCheck& check : *accepted) {
            std::optional<LoopbackReply> answer = check(request);
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

}  // namespace

LoopbackExchanges::LoopbackExchanges(HttpTransport& transport, const Clock& clock)
    : m_servers(makeServers()), m_connectors(endpointsOf(m_servers), transport, clock)
{
}

std::map<Exchange, LoopbackExchanges::Server> LoopbackExchanges::makeServers()
{
    std::map<Exchange, Server> servers;
    for (Exchange exchange : allExchanges) {
        auto accepted = std::make_shared<std::vector<SignatureCheck>>();
        // Empty credentials: every signed request carries a key that differs.
        auto server = std::make_unique<ExchangeFixtureServer>(
            anyOf(accepted, signatureCheck(exchange, Credentials{})));
        server->serveRecorded(fixtureFolder(exchange));
        servers.emplace(exchange, Server{std::move(server), std::move(accepted)});
    }
    return servers;
}

ExchangeEndpoints LoopbackExchanges::endpointsOf(const std::map<Exchange, Server>& servers)
{
    const auto at = [&servers](Exchange exchange) {
        return servers.at(exchange).server->baseURL();
    };
    ExchangeEndpoints endpoints;
    endpoints.binanceSpot = at(Exchange::binance);
    endpoints.binanceFutures = at(Exchange::binance);
    endpoints.okx = at(Exchange::okx);
    endpoints.bybit = at(Exchange::bybit);
    endpoints.bitget = at(Exchange::bitget);
    endpoints.gate = at(Exchange::gateio);
    return endpoints;
}

void LoopbackExchanges::accept(Exchange exchange, const Credentials& credentials)
{
    m_servers.at(exchange).accepted->push_back(signatureCheck(exchange, credentials));
}

void LoopbackExchanges::acceptOnly(Exchange exchange, const Credentials& credentials)
{
    m_servers.at(exchange).accepted->clear();
    accept(exchange, credentials);
}

void LoopbackExchanges::silence(Exchange exchange)
{
    const JsonValue routes = JsonReader::parse(
        ExchangeFixtureServer::fixture(fixtureFolder(exchange) + u"/routes.json"));
    for (const JsonValue& route : routes.items()) {
        server(exchange).serve(QByteArray::fromStdString(route.find("method")->text()),
                               QByteArray::fromStdString(route.find("path")->text()),
                               LoopbackReply::never());
    }
}

void LoopbackExchanges::closeAll()
{
    for (auto& [exchange, entry] : m_servers) {
        entry.server->loopback().close();
    }
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
    return [connectors = m_connectors](const LocalCredentialStore& credentials, Exchange exchange) {
        return connectors.provider(exchange, credentials);
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

SignatureCheck LoopbackExchanges::signatureCheck(Exchange exchange, const Credentials& credentials)
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

QString LoopbackExchanges::fixtureFolder(Exchange exchange)
{
    return exchange == Exchange::gateio ? u"gate"_qs : toStored(exchange).toLower();
}

}  // namespace vantrell
