#include "support/ExchangeFixtureServer.h"

#include "models/JsonCoding.h"
#include "models/JsonReader.h"
#include "networking/PublicMarketCache.h"

#include <QEventLoop>
#include <QFile>
#include <QTimer>

#include <gtest/gtest.h>

#include <utility>

namespace vantrell {

namespace {

// Long enough for any loopback round trip, short enough that a missing request fails fast.
constexpr int holdLimitMilliseconds = 5000;

struct RecordedRoute {
    QString method;
    QString path;
    std::optional<QString> query;
    QString file;

    static RecordedRoute fromJson(const JsonValue& json)
    {
        return RecordedRoute{
            json::required<QString>(json, "method"), json::required<QString>(json, "path"),
            json::optional<QString>(json, "query"), json::required<QString>(json, "file")};
    }
};

}  // namespace

ExchangeFixtureServer::ExchangeFixtureServer(SignatureCheck signatureCheck,
                                             LoopbackServer::Scheme scheme)
    : m_server(scheme), m_signatureCheck(std::move(signatureCheck))
{
    resetCache();
}

void ExchangeFixtureServer::setSignatureCheck(SignatureCheck signatureCheck)
{
    m_signatureCheck = std::move(signatureCheck);
}

void ExchangeFixtureServer::resetCache()
{
    PublicMarketCache::shared().clear();
}

QString ExchangeFixtureServer::fixturesDirectory()
{
    return QStringLiteral(VANTRELL_FIXTURES_DIR);
}

QByteArray ExchangeFixtureServer::fixture(const QString& relativePath)
{
    QFile file(fixturesDirectory() + u'/' + relativePath);
    if (!file.open(QIODevice::ReadOnly)) {
        ADD_FAILURE() << "missing fixture " << relativePath.toStdString();
        return {};
    }
    return file.readAll();
}

void ExchangeFixtureServer::serveRecorded(const QString& exchangeFolder)
{
    const QByteArray manifest = fixture(exchangeFolder + u"/routes.json");
    std::vector<RecordedRoute> routes;
    try {
        routes = decodeJson<std::vector<RecordedRoute>>(JsonReader::parse(manifest));
    } catch (const JsonDecodeError& error) {
        ADD_FAILURE() << "unreadable routes.json in " << exchangeFolder.toStdString() << ": "
                      << error.what();
        return;
    }
    resetCache();
    m_routes.clear();
    for (const RecordedRoute& recorded : routes) {
        const LoopbackReply reply =
            LoopbackReply::json(200, fixture(exchangeFolder + u'/' + recorded.file));
        std::optional<QByteArray> query;
        if (recorded.query) {
            query = recorded.query->toUtf8();
        }
        route(recorded.method.toUtf8(), recorded.path.toUtf8(), std::move(query),
              [reply](const RecordedRequest&) { return reply; });
    }
}

void ExchangeFixtureServer::serve(const QByteArray& method, const QByteArray& path,
                                  LoopbackReply reply)
{
    serve(method, path, [reply = std::move(reply)](const RecordedRequest&) { return reply; });
}

void ExchangeFixtureServer::serve(const QByteArray& method, const QByteArray& path,
                                  LoopbackServer::Handler handler)
{
    route(method, path, std::nullopt, std::move(handler));
}

void ExchangeFixtureServer::serve(const QByteArray& method, const QByteArray& path,
                                  const QByteArray& query, LoopbackReply reply)
{
    route(method, path, query,
          [reply = std::move(reply)](const RecordedRequest&) { return reply; });
}

void ExchangeFixtureServer::route(const QByteArray& method, const QByteArray& path,
                                  std::optional<QByteArray> query, LoopbackServer::Handler handler)
{
    std::vector<QueryRoute>& routes = m_routes[{method, path}];
    if (!query) {
        routes.clear();  // a route for every query replaces the exact ones too
    }
    std::erase_if(routes, [&query](const QueryRoute& route) { return route.query == query; });
    routes.push_back({std::move(query), std::move(handler)});
    m_server.route(method, path,
                   [this](const RecordedRequest& request) { return answer(request); });
}

LoopbackServer::Handler ExchangeFixtureServer::handlerOf(const QByteArray& method,
                                                         const QByteArray& path) const
{
    const auto routes = m_routes.find({method, path});
    if (routes != m_routes.end()) {
        for (const QueryRoute& route : routes->second) {
            if (!route.query) {
                return route.handler;
            }
        }
    }
    return {};
}

LoopbackServer::Handler ExchangeFixtureServer::handlerFor(const RecordedRequest& request) const
{
    const auto routes = m_routes.find({request.method, request.path});
    if (routes == m_routes.end()) {
        return {};
    }
    LoopbackServer::Handler anyQuery;
    for (const QueryRoute& route : routes->second) {
        if (route.query == request.query) {
            return route.handler;
        }
        if (!route.query) {
            anyQuery = route.handler;
        }
    }
    return anyQuery;
}

void ExchangeFixtureServer::holdRepliesUntil(int requestCount)
{
    m_holdUntil = requestCount;
}

QString ExchangeFixtureServer::baseURL() const
{
    return m_server.baseUrl().toString(QUrl::FullyEncoded);
}

ExchangeEndpoints ExchangeFixtureServer::endpoints() const
{
    return ExchangeEndpoints::allAt(baseURL());
}

QList<RecordedRequest> ExchangeFixtureServer::requestsTo(const QByteArray& path) const
{
    QList<RecordedRequest> matching;
    for (const RecordedRequest& request : m_server.requests()) {
        if (request.path == path) {
            matching.append(request);
        }
    }
    return matching;
}

LoopbackReply ExchangeFixtureServer::answer(const RecordedRequest& request)
{
    waitForHeldRequests();
    if (m_requestsAtFirstReply < 0) {
        m_requestsAtFirstReply = static_cast<int>(m_server.requests().size());
    }
    if (m_signatureCheck) {
        if (std::optional<LoopbackReply> rejection = m_signatureCheck(request)) {
            ++m_rejected;
            return std::move(*rejection);
        }
    }
    if (const LoopbackServer::Handler handler = handlerFor(request)) {
        return handler(request);
    }
    return LoopbackReply::json(404, R"({"msg":"no route"})");
}

void ExchangeFixtureServer::waitForHeldRequests()
{
    if (m_server.requests().size() >= m_holdUntil) {
        return;
    }
    // The server answers inside its socket's readyRead. While this reply is held, a nested
    // loop lets the other connections deliver their requests (each of which waits the same
    // way, one level deeper); the last one to arrive releases them all. Test-only.
    QEventLoop loop;
    QObject::connect(&m_server, &LoopbackServer::requestReceived, &loop, [this, &loop] {
        if (m_server.requests().size() >= m_holdUntil) {
            loop.quit();
        }
    });
    QTimer::singleShot(holdLimitMilliseconds, &loop, &QEventLoop::quit);
    loop.exec();
}

}  // namespace vantrell
