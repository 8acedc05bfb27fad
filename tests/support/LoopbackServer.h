#pragma once

#include <QByteArray>
#include <QList>
#include <QObject>
#include <QTcpServer>
#include <QUrl>

#include <chrono>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <utility>

class QTcpSocket;

namespace vantrell {

// One request as the loopback server received it.
struct RecordedRequest {
    using Header = std::pair<QByteArray, QByteArray>;

    QByteArray method;
    QByteArray path;        // as sent, without the query
    QByteArray query;       // the raw text after "?", empty when there is none
    QList<Header> headers;  // in the order received
    QByteArray body;

    // The first header of that name, compared without regard to case.
    std::optional<QByteArray> header(const QByteArray& name) const;
};

// What the loopback server sends back, and how.
struct LoopbackReply {
    using Header = std::pair<QByteArray, QByteArray>;

    enum class Delivery {
        complete,
        truncatedBody,    // announces more bytes than it sends, then closes the connection
        neverAnswer,      // keeps the connection open and silent
        closeUnanswered,  // reads the request, then closes the connection without a word
        endless,          // after the head, sends the body again and again, never ending
    };

    int status = 200;
    QList<Header> headers;  // Content-Length and Connection are added by the server
    QByteArray body;
    Delivery delivery = Delivery::complete;
    std::chrono::milliseconds delay{0};
    std::chrono::milliseconds every{0};  // between the pieces of an endless body

    static LoopbackReply json(int status, QByteArray body);
    static LoopbackReply html(int status, QByteArray body);
    static LoopbackReply redirect(int status, const QUrl& location);
    static LoopbackReply never();
    static LoopbackReply closeUnanswered();
    // A 200 JSON reply without a length whose body is `piece` sent every `every` until the
    // client lets go: a trickle of single bytes, or a flood of large pieces.
    static LoopbackReply endless(QByteArray piece, std::chrono::milliseconds every);

    LoopbackReply withHeader(QByteArray name, QByteArray value) const;
    LoopbackReply truncated() const;
    LoopbackReply delayedBy(std::chrono::milliseconds wait) const;
};

// A tiny HTTP/1.1 server on 127.0.0.1 with an ephemeral port, for integration tests against the
// real network stack. It runs in the test's event loop (QCoro::waitFor spins it), so no threads
// are involved. Each connection carries one request and is closed after the reply, unless the
// server is told to keep connections alive.
//
// With Scheme::https it speaks TLS, as the exchanges do, with a self-signed certificate for
// 127.0.0.1 (tests/fixtures/tls) that the test process then trusts; Qt's network stack behaves
// differently over TLS in ways that matter (connection errors, what lives on at exit).
//
//     LoopbackServer server;
//     server.route("GET", "/api/v3/ticker/price", LoopbackReply::json(200, R"([])"));
//     request.url = server.url("/api/v3/ticker/price", "symbol=BTCUSDT");
//     ... server.requests().front().headers ...
//
// A route can also be a handler, for replies that depend on the request (signature checks).
// A request without a route gets 404 {"msg":"no route"}.
class LoopbackServer : public QObject {
    Q_OBJECT

public:
    using Handler = std::function<LoopbackReply(const RecordedRequest&)>;
    enum class Scheme { http, https };

    explicit LoopbackServer(Scheme scheme = Scheme::http, QObject* parent = nullptr);
    ~LoopbackServer() override;

    quint16 port() const;
    QUrl baseUrl() const;  // http://127.0.0.1:<port>, or https
    QUrl url(const QString& path, const QString& query = {}) const;

    void route(const QByteArray& method, const QByteArray& path, LoopbackReply reply);
    void route(const QByteArray& method, const QByteArray& path, Handler handler);

    const QList<RecordedRequest>& requests() const { return m_requests; }
    // The bytes of endless bodies written to their connections so far.
    qint64 streamedBytes() const { return m_streamedBytes; }

    // Stops listening and drops every open connection: the port then refuses connections.
    void close();

    // Keeps each connection open for further requests after a reply, as the exchanges' servers
    // do, instead of closing it.
    void setKeepAlive(bool keepAlive) { m_keepAlive = keepAlive; }

signals:
    // A request was recorded; its reply is about to be sent (or held back).
    void requestReceived();

private:
    void acceptConnections();
    void handle(QTcpSocket* socket, const RecordedRequest& request);
    LoopbackReply replyFor(const RecordedRequest& request) const;
    void stream(QTcpSocket* socket, const LoopbackReply& reply);

    Scheme m_scheme;
    std::unique_ptr<QTcpServer> m_server;
    quint16 m_port = 0;
    std::map<std::pair<QByteArray, QByteArray>, Handler> m_routes;
    QList<RecordedRequest> m_requests;
    bool m_keepAlive = false;
    qint64 m_streamedBytes = 0;
};

// A loopback port that refuses every connection, like a host whose service is down. The port is
// bound but never listens, so no other server (of this test or another process) can take it
// while the object lives.
class RefusingPort {
public:
    RefusingPort();
    ~RefusingPort();
    RefusingPort(const RefusingPort&) = delete;
    RefusingPort& operator=(const RefusingPort&) = delete;

    quint16 port() const { return m_port; }
    QUrl baseUrl() const;  // http://127.0.0.1:<port>

private:
    int m_socket = -1;
    quint16 m_port = 0;
};

}  // namespace vantrell
