#include "support/LoopbackServer.h"

#include <QFile>
#include <QHostAddress>
#include <QPointer>
#include <QSslCertificate>
#include <QSslConfiguration>
#include <QSslKey>
#include <QSslServer>
#include <QTcpSocket>
#include <QTimer>

#include <gtest/gtest.h>

#include <memory>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace vantrell {

namespace {

QByteArray reasonPhrase(int status)
{
    switch (status) {
        case 200:
            return "OK";
        case 301:
            return "Moved Permanently";
        case 302:
            return "Found";
        case 400:
            return "Bad Request";
        case 401:
            return "Unauthorized";
        case 403:
            return "Forbidden";
        case 404:
            return "Not Found";
        case 418:
            return "I'm a teapot";
        case 429:
            return "Too Many Requests";
        case 500:
            return "Internal Server Error";
        case 502:
            return "Bad Gateway";
        case 503:
            return "Service Unavailable";
        default:
            return "Status";
    }
}

// Takes one complete request off the front of `buffer`, or nothing while it is incomplete.
std::optional<RecordedRequest> takeRequest(QByteArray& buffer)
{
    const qsizetype headEnd = buffer.indexOf("\r\n\r\n");
    if (headEnd < 0) {
        return std::nullopt;
    }
    const QList<QByteArray> lines = buffer.left(headEnd).split('\n');
    const QList<QByteArray> requestLine = lines.front().trimmed().split(' ');
    RecordedRequest request;
    request.method = requestLine.value(0);
    const QByteArray target = requestLine.value(1);
    const qsizetype question = target.indexOf('?');
    request.path = question < 0 ? target : target.left(question);
    request.query = question < 0 ? QByteArray() : target.mid(question + 1);
    for (qsizetype i = 1; i < lines.size(); ++i) {
        const QByteArray line = lines.at(i).trimmed();
        const qsizetype colon = line.indexOf(':');
        if (colon > 0) {
            request.headers.append({line.left(colon), line.mid(colon + 1).trimmed()});
        }
    }
    const qsizetype length = request.header("Content-Length").value_or("0").toLongLong();
    const qsizetype bodyStart = headEnd + 4;
    if (buffer.size() < bodyStart + length) {
        return std::nullopt;
    }
    request.body = buffer.mid(bodyStart, length);
    buffer.remove(0, bodyStart + length);
    return request;
}

// The status line and the reply's own headers.
QByteArray headOf(const LoopbackReply& reply)
{
    QByteArray bytes =
        "HTTP/1.1 " + QByteArray::number(reply.status) + ' ' + reasonPhrase(reply.status) + "\r\n";
    for (const auto& [name, value] : reply.headers) {
        bytes += name + ": " + value + "\r\n";
    }
    return bytes;
}

void writeReply(QTcpSocket& socket, const LoopbackReply& reply, bool keepAlive)
{
    const bool truncated = reply.delivery == LoopbackReply::Delivery::truncatedBody;
    const qsizetype announced = reply.body.size() + (truncated ? 64 : 0);
    QByteArray bytes = headOf(reply);
    // A cut-short body ends its connection, whatever the server keeps otherwise.
    const bool keep = keepAlive && !truncated;
    bytes += "Content-Length: " + QByteArray::number(announced) +
             (keep ? "\r\nConnection: keep-alive\r\n\r\n" : "\r\nConnection: close\r\n\r\n");
    bytes += reply.body;
    socket.write(bytes);
    if (!keep) {
        socket.disconnectFromHost();  // after the pending bytes are written
    }
}

QUrl loopbackUrl(quint16 port, LoopbackServer::Scheme scheme = LoopbackServer::Scheme::http)
{
    QUrl url;
    url.setScheme(scheme == LoopbackServer::Scheme::https ? QStringLiteral("https")
                                                          : QStringLiteral("http"));
    url.setHost(QStringLiteral("127.0.0.1"));
    url.setPort(port);
    return url;
}

QByteArray tlsFixture(const char* name)
{
    QFile file(QStringLiteral(VANTRELL_FIXTURES_DIR "/tls/") + QLatin1String(name));
    if (!file.open(QIODevice::ReadOnly)) {
        ADD_FAILURE() << "LoopbackServer: missing fixture tls/" << name;
    }
    return file.readAll();
}

// The fixture certificate is self-signed for 127.0.0.1 (EC P-256, valid 2020 to 2120). The
// process trusts it from the first https server on; requests pick up the default configuration
// when they are made.
QSslConfiguration serverConfiguration()
{
    static const QSslCertificate certificate(tlsFixture("loopback-cert.pem"));
    static const QSslKey key(tlsFixture("loopback-key.pem"), QSsl::Ec);
    static const bool trusted = [] {
        QSslConfiguration client = QSslConfiguration::defaultConfiguration();
        client.addCaCertificate(certificate);
        QSslConfiguration::setDefaultConfiguration(client);
        return true;
    }();
    Q_UNUSED(trusted);
    QSslConfiguration server = QSslConfiguration::defaultConfiguration();
    server.setLocalCertificate(certificate);
    server.setPrivateKey(key);
    server.setPeerVerifyMode(QSslSocket::VerifyNone);
    server.setAllowedNextProtocols({QByteArrayLiteral("http/1.1")});  // no HTTP/2
    return server;
}

std::unique_ptr<QTcpServer> makeServer(LoopbackServer::Scheme scheme)
{
    if (scheme == LoopbackServer::Scheme::http) {
        return std::make_unique<QTcpServer>();
    }
    auto server = std::make_unique<QSslServer>();
    server->setSslConfiguration(serverConfiguration());
    return server;
}

}  // namespace

std::optional<QByteArray> RecordedRequest::header(const QByteArray& name) const
{
    for (const Header& h : headers) {
        if (h.first.compare(name, Qt::CaseInsensitive) == 0) {
            return h.second;
        }
    }
    return std::nullopt;
}

LoopbackReply LoopbackReply::json(int status, QByteArray body)
{
    return LoopbackReply{status, {{"Content-Type", "application/json"}}, std::move(body)};
}

LoopbackReply LoopbackReply::html(int status, QByteArray body)
{
    return LoopbackReply{status, {{"Content-Type", "text/html; charset=utf-8"}}, std::move(body)};
}

LoopbackReply LoopbackReply::redirect(int status, const QUrl& location)
{
    return LoopbackReply{status, {{"Location", location.toEncoded()}}, {}};
}

LoopbackReply LoopbackReply::never()
{
    LoopbackReply reply;
    reply.delivery = Delivery::neverAnswer;
    return reply;
}

LoopbackReply LoopbackReply::closeUnanswered()
{
    LoopbackReply reply;
    reply.delivery = Delivery::closeUnanswered;
    return reply;
}

LoopbackReply LoopbackReply::endless(QByteArray piece, std::chrono::milliseconds every)
{
    LoopbackReply reply = json(200, std::move(piece));
    reply.delivery = Delivery::endless;
    reply.every = every;
    return reply;
}

LoopbackReply LoopbackReply::withHeader(QByteArray name, QByteArray value) const
{
    LoopbackReply copy = *this;
    copy.headers.append({std::move(name), std::move(value)});
    return copy;
}

LoopbackReply LoopbackReply::truncated() const
{
    LoopbackReply copy = *this;
    copy.delivery = Delivery::truncatedBody;
    return copy;
}

LoopbackReply LoopbackReply::delayedBy(std::chrono::milliseconds wait) const
{
    LoopbackReply copy = *this;
    copy.delay = wait;
    return copy;
}

LoopbackServer::LoopbackServer(Scheme scheme, QObject* parent)
    : QObject(parent), m_scheme(scheme), m_server(makeServer(scheme))
{
    // A TLS connection is pending only once its handshake is done.
    connect(m_server.get(), &QTcpServer::pendingConnectionAvailable, this,
            &LoopbackServer::acceptConnections);
    if (!m_server->listen(QHostAddress::LocalHost, 0)) {
        ADD_FAILURE() << "LoopbackServer: cannot listen on 127.0.0.1";
    }
    m_port = m_server->serverPort();
}

LoopbackServer::~LoopbackServer()
{
    close();
}

quint16 LoopbackServer::port() const
{
    return m_port;
}

QUrl LoopbackServer::baseUrl() const
{
    return loopbackUrl(m_port, m_scheme);
}

QUrl LoopbackServer::url(const QString& path, const QString& query) const
{
    QUrl result = baseUrl();
    result.setPath(path);
    if (!query.isEmpty()) {
        result.setQuery(query);
    }
    return result;
}

void LoopbackServer::route(const QByteArray& method, const QByteArray& path, LoopbackReply reply)
{
    route(method, path, [reply = std::move(reply)](const RecordedRequest&) { return reply; });
}

void LoopbackServer::route(const QByteArray& method, const QByteArray& path, Handler handler)
{
    m_routes.insert_or_assign({method, path}, std::move(handler));
}

void LoopbackServer::close()
{
    m_server->close();
    for (QTcpSocket* socket : m_server->findChildren<QTcpSocket*>()) {
        socket->disconnect(this);
        socket->abort();
    }
}

void LoopbackServer::acceptConnections()
{
    while (QTcpSocket* socket = m_server->nextPendingConnection()) {
        connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
        auto buffer = std::make_shared<QByteArray>();
        connect(socket, &QTcpSocket::readyRead, this, [this, socket, buffer] {
            buffer->append(socket->readAll());
            while (std::optional<RecordedRequest> request = takeRequest(*buffer)) {
                handle(socket, *request);
            }
        });
    }
}

void LoopbackServer::handle(QTcpSocket* socket, const RecordedRequest& request)
{
    m_requests.append(request);
    emit requestReceived();
    const LoopbackReply reply = replyFor(request);
    if (reply.delivery == LoopbackReply::Delivery::neverAnswer) {
        return;
    }
    if (reply.delivery == LoopbackReply::Delivery::closeUnanswered) {
        socket->disconnectFromHost();
        return;
    }
    if (reply.delivery == LoopbackReply::Delivery::endless) {
        stream(socket, reply);
        return;
    }
    if (reply.delay.count() > 0) {
        QTimer::singleShot(reply.delay, socket, [socket, reply, keep = m_keepAlive] {
            writeReply(*socket, reply, keep);
        });
    } else {
        writeReply(*socket, reply, m_keepAlive);
    }
}

// Without a length, the body runs until the connection closes.
void LoopbackServer::stream(QTcpSocket* socket, const LoopbackReply& reply)
{
    socket->write(headOf(reply) + "Connection: close\r\n\r\n");
    auto* timer = new QTimer(socket);
    connect(timer, &QTimer::timeout, socket, [this, socket, piece = reply.body] {
        if (socket->write(piece) > 0) {
            m_streamedBytes += piece.size();
        }
    });
    timer->start(reply.every);
}

LoopbackReply LoopbackServer::replyFor(const RecordedRequest& request) const
{
    const auto route = m_routes.find({request.method, request.path});
    if (route == m_routes.end()) {
        return LoopbackReply::json(404, R"({"msg":"no route"})");
    }
    return route->second(request);
}

RefusingPort::RefusingPort()
{
    m_socket = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = 0;  // any free port
    socklen_t length = sizeof(address);
    if (m_socket < 0 || ::bind(m_socket, reinterpret_cast<sockaddr*>(&address), length) != 0 ||
        ::getsockname(m_socket, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
        ADD_FAILURE() << "RefusingPort: cannot bind a loopback port";
        return;
    }
    m_port = ntohs(address.sin_port);
}

RefusingPort::~RefusingPort()
{
    if (m_socket >= 0) {
        ::close(m_socket);
    }
}

QUrl RefusingPort::baseUrl() const
{
    return loopbackUrl(m_port);
}

}  // namespace vantrell
