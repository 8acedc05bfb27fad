#pragma once

#include "providers/ExchangeEndpoints.h"
#include "support/FixtureSignatures.h"
#include "support/LoopbackServer.h"

#include <QByteArray>
#include <QList>
#include <QString>

#include <map>
#include <optional>
#include <utility>
#include <vector>

namespace vantrell {

// A loopback stand-in for one exchange's REST API, for connector tests over the real network
// stack. It serves the recorded replies of tests/fixtures/<exchange>/, checks every signed
// request with the exchange's signature rule first (a mismatch gets the exchange's 401), and
// records every request (method, path, raw query, headers in order, body).
//
//     ExchangeFixtureServer server(FixtureSignatures::binance(key, secret));
//     server.serveRecorded("binance");
//     server.serve("GET", "/fapi/v3/account", LoopbackReply::json(401, R"({"msg":"..."})"));
//     BinanceProvider provider(credentials, client, server.endpoints());
//
// A route can fail in every way LoopbackReply offers: a status with any body (HTML too), a
// Retry-After header, a truncated body, a delay, or no answer at all.
//
// Constructing one, and serving the recorded replies again, clears the process-wide public
// market cache: it is keyed by the whole URL, so a port reused within its lifetime would serve
// another test's tickers, and a case of a test would read the tickers of the case before.
class ExchangeFixtureServer {
public:
    explicit ExchangeFixtureServer(SignatureCheck signatureCheck = FixtureSignatures::none(),
                                   LoopbackServer::Scheme scheme = LoopbackServer::Scheme::http);

    // The folder of the recorded replies, and one file of it read whole ("binance/prices.json").
    // A missing file fails the running test.
    static QString fixturesDirectory();
    static QByteArray fixture(const QString& relativePath);

    // Serves every route that <exchangeFolder>/routes.json lists, and no other, with a cleared
    // cache: [{"method": "GET", "path": "/api/v3/account", "file": "spot_account.json"}, ...].
    // An entry with a "query" answers only that exact raw query, so one path can give a reply
    // per settle coin or product type.
    void serveRecorded(const QString& exchangeFolder);
    // Adds or replaces one route, for every query of the path. Signed requests are still checked
    // before it answers.
    void serve(const QByteArray& method, const QByteArray& path, LoopbackReply reply);
    void serve(const QByteArray& method, const QByteArray& path, LoopbackServer::Handler handler);
    // Adds or replaces the route of one exact raw query; the path's other queries keep theirs.
    void serve(const QByteArray& method, const QByteArray& path, const QByteArray& query,
               LoopbackReply reply);

    // What answers every query of the path now (before the signature check), to wrap it; empty
    // when nothing does.
    LoopbackServer::Handler handlerOf(const QByteArray& method, const QByteArray& path) const;

    // Replaces the check that signed requests pass before any route answers: a key that was
    // revoked, or a server that also checks the request's time.
    void setSignatureCheck(SignatureCheck signatureCheck);

    // Forgets the public replies the connectors cached, so the next fetch asks for them again.
    static void resetCache();

    // Holds back every reply until `requestCount` requests have arrived (or a few seconds have
    // passed, so a missing request fails the test instead of hanging it). Shows that a
    // connector sends all its requests before it waits for any reply.
    void holdRepliesUntil(int requestCount);
    // How many requests had arrived when the first reply was released; -1 before any reply.
    int requestsSeenAtFirstReply() const { return m_requestsAtFirstReply; }

    // "http://127.0.0.1:<port>" (or https), and every exchange's endpoints pointing there.
    QString baseURL() const;
    ExchangeEndpoints endpoints() const;

    const QList<RecordedRequest>& requests() const { return m_server.requests(); }
    // The requests to `path`, in arrival order.
    QList<RecordedRequest> requestsTo(const QByteArray& path) const;
    // Signed requests answered with the exchange's 401.
    int rejectedCount() const { return m_rejected; }

    LoopbackServer& loopback() { return m_server; }

private:
    // One path's routes: an exact raw query, or none for every query the others leave.
    struct QueryRoute {
        std::optional<QByteArray> query;
        LoopbackServer::Handler handler;
    };
    using RouteKey = std::pair<QByteArray, QByteArray>;  // method, path

    void route(const QByteArray& method, const QByteArray& path, std::optional<QByteArray> query,
               LoopbackServer::Handler handler);
    LoopbackServer::Handler handlerFor(const RecordedRequest& request) const;
    LoopbackReply answer(const RecordedRequest& request);
    void waitForHeldRequests();

    LoopbackServer m_server;
    std::map<RouteKey, std::vector<QueryRoute>> m_routes;
    SignatureCheck m_signatureCheck;
    int m_holdUntil = 0;
    int m_requestsAtFirstReply = -1;
    int m_rejected = 0;
};

}  // namespace vantrell
