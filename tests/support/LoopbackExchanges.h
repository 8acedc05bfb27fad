#pragma once

#include "models/Clock.h"
#include "models/Exchange.h"
#include "providers/ExchangeEndpoints.h"
#include "security/CredentialField.h"
#include "store/ConfiguredProviders.h"
#include "support/ExchangeFixtureServer.h"

#include <QString>

#include <chrono>
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
//
// Tests break one exchange at a time: fail its routes, point its connectors elsewhere, or
// shorten its time-out or deadline. The factories handed out follow such changes from their next
// connector.
class LoopbackExchanges {
public:
    // One account's credentials; the passphrase is used by OKX and Bitget only.
    struct Credentials {
        QString apiKey;
        QString secretKey;
        QString passphrase;
    };

    enum class Replies {
        recorded,  // the recorded replies as they are
        // Without the rows of assets that have no usable price: every exchange's result is
        // complete, so a refresh earns a history point.
        priced,
    };
    enum class Routes { all, signedOnly };

    // The transport, the clock and this set must outlive the connectors made.
    LoopbackExchanges(HttpTransport& transport, const Clock& clock,
                      Replies replies = Replies::recorded);
    ~LoopbackExchanges();
    LoopbackExchanges(const LoopbackExchanges&) = delete;
    LoopbackExchanges& operator=(const LoopbackExchanges&) = delete;

    // Requests of `exchange` signed with `credentials` pass from now on, besides those that
    // passed before.
    void accept(Exchange exchange, const Credentials& credentials);
    // Only requests signed with `credentials` pass from now on.
    void acceptOnly(Exchange exchange, const Credentials& credentials);

    // Every recorded route of the exchange (or only its signed ones) answers `reply` from now
    // on; the public replies cached so far are forgotten.
    void failRoutes(Exchange exchange, const LoopbackReply& reply, Routes which = Routes::all);
    // Every recorded route of the exchange keeps its connection open and never answers.
    void silence(Exchange exchange) { failRoutes(exchange, LoopbackReply::never()); }
    // Stops every server: connections still open are dropped, new ones are refused.
    void closeAll();

    // The exchange's connectors talk to `baseURL` instead of its server.
    void pointAt(Exchange exchange, const QString& baseURL);
    // The exchange is played by a new server that speaks TLS, as the real ones do, with the same
    // replies and the same accepted credentials; routes changed on the old one are not carried
    // over.
    void serveOverTls(Exchange exchange);
    // The exchange's requests give up after `silence` without data instead of the connectors'
    // 12 seconds.
    void shortenTimeout(Exchange exchange, std::chrono::milliseconds silence);
    // The exchange's requests give up after `total` in all, however steadily their bytes come,
    // instead of five times their time-out.
    void shortenDeadline(Exchange exchange, std::chrono::milliseconds total);

    ExchangeFixtureServer& server(Exchange exchange) { return *m_servers.at(exchange).server; }
    // Every request the five servers received.
    qsizetype requestCount() const;

    // The connectors of the exchanges, at the servers' addresses.
    ProviderFactory providerFactory() const;

    // The exchange's signature rule: requests signed with any of `accepted` pass, the others
    // get the exchange's refusal (with nothing accepted, every signed request does).
    static SignatureCheck signatureCheck(Exchange exchange,
                                         const std::vector<Credentials>& accepted);
    // The fields of the exchange's credentials, in the order key, secret(, passphrase).
    static std::vector<CredentialField> fields(Exchange exchange);
    // Writes the exchange's fields into `store`'s scope; false when a write failed.
    static bool store(LocalCredentialStore& store, Exchange exchange,
                      const Credentials& credentials);

private:
    class TimeoutCappingTransport;
    struct Server {
        std::unique_ptr<ExchangeFixtureServer> server;
        std::vector<Credentials> accepted;
    };
    // Where one exchange's connectors send their requests, and through what.
    struct Destination {
        ExchangeEndpoints endpoints;
        std::shared_ptr<TimeoutCappingTransport> transport;
    };
    // Shared with the factories handed out.
    using Destinations = std::map<Exchange, Destination>;

    // The rule that passes requests signed with `credentials` alone.
    static SignatureCheck ruleFor(Exchange exchange, const Credentials& credentials);
    // A server of the exchange serving its replies; it accepts no credentials yet.
    std::unique_ptr<ExchangeFixtureServer> makeServer(Exchange exchange,
                                                      LoopbackServer::Scheme scheme) const;

    Replies m_replies;
    std::map<Exchange, Server> m_servers;
    std::shared_ptr<Destinations> m_destinations = std::make_shared<Destinations>();
    const Clock* m_clock;
};

}  // namespace vantrell
