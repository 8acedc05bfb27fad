#pragma once

#include "models/Clock.h"
#include "models/Exchange.h"
#include "security/ConnectorFactory.h"
#include "security/CredentialField.h"
#include "store/ConfiguredProviders.h"
#include "support/ExchangeFixtureServer.h"

#include <QString>

#include <map>
#include <memory>
#include <vector>

namespace vantrell {

class HttpTransport;
class LocalCredentialStore;

// All five exchanges at once, each played by its own fixture server serving its recorded
// replies, with the real connectors pointed at them: the set-up of tests that run whole
// refreshes over the real network stack.
//
// A server accepts signed requests only for the credentials it was told to accept (any of
// them); everything else gets the exchange's own 401, as from a wrong key or signature.
//
//     LoopbackExchanges exchanges(NetworkHttpTransport::shared(), clock);
//     exchanges.accept(Exchange::okx, {u"key"_qs, u"secret"_qs, u"pass"_qs});
//     LoopbackExchanges::store(credentials, Exchange::okx, {u"key"_qs, u"secret"_qs, u"pass"_qs});
//     PortfolioStore store(credentials, exchanges.providerFactory(), ...);
class LoopbackExchanges {
public:
    // One account's credentials; the passphrase is used by OKX and Bitget only.
    struct Credentials {
        QString apiKey;
        QString secretKey;
        QString passphrase;
    };

    // The transport and the clock must outlive the connectors made.
    LoopbackExchanges(HttpTransport& transport, const Clock& clock);

    // Requests of `exchange` signed with `credentials` pass from now on, besides those that
    // passed before.
    void accept(Exchange exchange, const Credentials& credentials);
    // Only requests signed with `credentials` pass from now on.
    void acceptOnly(Exchange exchange, const Credentials& credentials);

    // Every recorded route of the exchange keeps its connection open and never answers.
    void silence(Exchange exchange);
    // Stops every server: connections still open are dropped, new ones are refused.
    void closeAll();

    ExchangeFixtureServer& server(Exchange exchange) { return *m_servers.at(exchange).server; }
    qsizetype requestCount() const;

    // The connectors of the exchanges, at the servers' addresses.
    ProviderFactory providerFactory() const;

    // The fields of the exchange's credentials, in the order key, secret(, passphrase).
    static std::vector<CredentialField> fields(Exchange exchange);
    // Writes the exchange's fields into `store`'s scope; false when a write failed.
    static bool store(LocalCredentialStore& store, Exchange exchange,
                      const Credentials& credentials);

private:
    struct Server {
        std::unique_ptr<ExchangeFixtureServer> server;
        std::shared_ptr<std::vector<SignatureCheck>> accepted;
    };

    static std::map<Exchange, Server> makeServers();
    static ExchangeEndpoints endpointsOf(const std::map<Exchange, Server>& servers);
    static SignatureCheck signatureCheck(Exchange exchange, const Credentials& credentials);
    static QString fixtureFolder(Exchange exchange);

    std::map<Exchange, Server> m_servers;
    ConnectorFactory m_connectors;
};

}  // namespace vantrell
