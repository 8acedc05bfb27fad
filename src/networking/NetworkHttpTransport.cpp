#include "networking/NetworkHttpTransport.h"

#include "concurrency/CancellationToken.h"
#include "models/JsonDocument.h"
#include "networking/ContentDecoding.h"
#include "networking/ReplyWatch.h"

#include <QCoreApplication>
#include <QCoroNetworkReply>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QPointer>
#include <QThread>

#include <algorithm>
#include <limits>
#include <memory>

namespace vantrell {

namespace {

// The coroutine resumes inside the reply's `finished` signal, so the reply must not be deleted
// there and then. Nor is it ever aborted (see ReplyWatch): deleting a reply that has not finished
// tells the network thread to drop its transfer, which frees the connection for the requests
// queued behind it.
struct ReplyDeleter {
    void operator()(QNetworkReply* reply) const { reply->deleteLater(); }
};
using ReplyPointer = std::unique_ptr<QNetworkReply, ReplyDeleter>;

QNetworkRequest networkRequestFor(const HttpRequest& request)
{
    QNetworkRequest result(request.url);
    for (const auto& [name, value] : request.headers) {
        result.setRawHeader(name, value);
    }
    // Unpacked by the transport itself (see ContentDecoding): Qt leaves a body alone when the
    // request names its encodings.
    if (!result.hasRawHeader("Accept-Encoding")) {
        result.setRawHeader("Accept-Encoding", ContentDecoding::acceptedEncodings.toByteArray());
    }
    // The time-out is kept by the reply's watch, not by Qt, which would abort the reply.
    // Each redirect is decided by the watch as well.
    result.setAttribute(QNetworkRequest::RedirectPolicyAttribute,
                        QNetworkRequest::UserVerifiedRedirectPolicy);
    return result;
}

// Methods whose request carries content by definition. Sent without a body, such a request says
// so with "Content-Length: 0": Qt would send neither that nor Transfer-Encoding, and a server may
// then refuse it with 411 Length Required.
bool carriesContent(const QByteArray& method)
{
    return method == "POST" || method == "PUT" || method == "PATCH";
}

bool hasHeader(const HttpRequest& request, const QByteArray& name)
{
    return std::any_of(request.headers.begin(), request.headers.end(),
                       [&name](const HttpRequest::Header& header) {
                           return header.first.compare(name, Qt::CaseInsensitive) == 0;
                       });
}

QNetworkReply* startReply(QNetworkAccessManager& manager, const HttpRequest& request)
{
    QNetworkRequest networkRequest = networkRequestFor(request);
    const QByteArray method = request.effectiveMethod();
    if (!request.body.isEmpty()) {
        return manager.sendCustomRequest(networkRequest, method, request.body);
    }
    if (carriesContent(method) && !hasHeader(request, "Content-Length")) {
        networkRequest.setHeader(QNetworkRequest::ContentLengthHeader, 0);
    }
    return manager.sendCustomRequest(networkRequest, method);
}

// Qt flags 4xx and 5xx replies with an error as well; those are answers, not failed transfers.
// A network-layer or proxy error means the transfer failed even when a status had already
// arrived (a body cut short). A refused redirect was aborted by us and still is an answer.
bool deliveredResponse(QNetworkReply::NetworkError error, const QVariant& status,
                       bool redirectRefused)
{
    if (redirectRefused) {
        return status.isValid();
    }
    if (error == QNetworkReply::NoError) {
        return true;
    }
    return error >= QNetworkReply::ContentAccessDenied && status.isValid() && status.toInt() >= 400;
}

// The whole body of a finished reply, read into a buffer with room after it for the JSON
// scanner, so the reply is parsed where it lies rather than copied once more.
QByteArray readBody(QNetworkReply& reply)
{
    QByteArray body = JsonDocument::readPadded(reply, reply.bytesAvailable());
    if (reply.bytesAvailable() > 0) {
        body += reply.readAll();
    }
    return body;
}

// Qt reports a 4xx or 5xx status as an error of its own, and that report can win the race
// against the one of a connection closed mid-body; the announced length settles it. The body is
// measured as sent, before it is unpacked.
bool isCutShort(const HttpResponse& response)
{
    bool ok = false;
    const qlonglong announced = response.header("Content-Length").value_or("").toLongLong(&ok);
    return ok && response.body.size() < announced;
}

// A body that cannot be unpacked is as good as one cut short.
QByteArray decodedBody(const HttpResponse& response)
{
    std::optional<QByteArray> body = ContentDecoding::decoded(
        response.body, response.header("Content-Encoding").value_or(QByteArray()),
        JsonDocument::padding);
    if (!body) {
        throw HttpTransportError();
    }
    return std::move(*body);
}

std::chrono::milliseconds timerRange(std::chrono::milliseconds duration)
{
    return std::clamp(duration, std::chrono::milliseconds(0),
                      std::chrono::milliseconds(std::numeric_limits<int>::max()));
}

std::optional<int> statusOf(const QNetworkReply& reply)
{
    const QVariant status = reply.attribute(QNetworkRequest::HttpStatusCodeAttribute);
    return status.isValid() ? std::optional<int>(status.toInt()) : std::nullopt;
}

HttpResponse responseFrom(QNetworkReply& reply, const HttpRequest& request, bool redirectRefused)
{
    const QVariant status = reply.attribute(QNetworkRequest::HttpStatusCodeAttribute);
    if (!deliveredResponse(reply.error(), status, redirectRefused)) {
        throw HttpTransportError();
    }
    // The watch saw every piece arrive; this holds whatever order Qt's signals came in.
    if (request.maxBodyBytes > 0 && reply.bytesAvailable() > request.maxBodyBytes) {
        throw HttpBodyTooLargeError(statusOf(reply));
    }
    HttpResponse response;
    if (status.isValid()) {
        response.statusCode = status.toInt();
    }
    response.headers = reply.rawHeaderPairs();
    // A refused redirect's body is of no use: it stays unread, as the reply is let go.
    if (!redirectRefused && reply.isOpen()) {
        response.body = readBody(reply);
    }
    const bool statusError = reply.error() != QNetworkReply::NoError && !redirectRefused;
    const bool expectsBody = request.effectiveMethod() != "HEAD";
    if (statusError && expectsBody && isCutShort(response)) {
        throw HttpTransportError();
    }
    response.body = decodedBody(response);
    return response;
}

int defaultPort(const QUrl& url)
{
    const QString scheme = url.scheme().toLower();
    if (scheme == u"https") {
        return 443;
    }
    if (scheme == u"http") {
        return 80;
    }
    return -1;
}

// Whether the request was written to a connection, at least once.
struct ReplyEvents {
    bool sent = false;
};

// When a connection closes before its answer, Qt sends that request again by itself; when it
// gives up, it fails with the same "connection closed" error every request still queued for the
// host, although those never went out (over TLS, Qt queues a host's requests while it sets up its
// connections). Such a request is started again; one that was written never is, by us.
constexpr int unsentAttempts = 3;

bool droppedUnsent(const QNetworkReply& reply, const ReplyEvents& events)
{
    return !events.sent && reply.error() == QNetworkReply::RemoteHostClosedError;
}

// The manager of shared(). It goes at the start of the application object's destructor (a post
// routine), so Qt's network thread winds down while the application still exists: later, closing
// a kept TLS connection reaches for Qt's TLS backend with no application, and Qt complains.
QPointer<QNetworkAccessManager>& sharedManager()
{
    static QPointer<QNetworkAccessManager> manager;
    return manager;
}

void deleteSharedManager()
{
    delete sharedManager().data();
}

}  // namespace

NetworkHttpTransport::NetworkHttpTransport(QNetworkAccessManager& manager) : m_manager(&manager) {}

NetworkHttpTransport& NetworkHttpTransport::shared()
{
    Q_ASSERT(QCoreApplication::instance() != nullptr);
    Q_ASSERT(QThread::currentThread() == QCoreApplication::instance()->thread());
    // One manager for the whole process keeps connections and TLS sessions reused across
    // exchanges. A later application object gets a manager of its own.
    QPointer<QNetworkAccessManager>& manager = sharedManager();
    if (manager.isNull()) {
        manager = new QNetworkAccessManager();
        qAddPostRoutine(deleteSharedManager);
    }
    static NetworkHttpTransport transport(*manager);
    transport.m_manager = manager.data();
    return transport;
}

QCoro::Task<HttpResponse> NetworkHttpTransport::perform(HttpRequest request)
{
    // Nothing of the transport is touched once the first transfer is under way.
    const QPointer<QNetworkAccessManager> manager = m_manager;
    const std::shared_ptr<CancellationToken> shutDown = m_shutDown;
    for (int attempt = 1;; ++attempt) {
        std::optional<HttpResponse> response = co_await transfer(*manager, request, shutDown);
        if (response) {
            co_return std::move(*response);
        }
        if (attempt == unsentAttempts || manager.isNull()) {
            throw HttpTransportError();
        }
    }
}

void NetworkHttpTransport::shutDown()
{
    m_shutDown->cancel();
}

QCoro::Task<std::optional<HttpResponse>> NetworkHttpTransport::transfer(
    QNetworkAccessManager& manager, const HttpRequest& request,
    std::shared_ptr<CancellationToken> shutDown)
{
    const std::shared_ptr<CancellationToken> token = request.cancellation;
    if ((token && token->isCancelled()) || shutDown->isCancelled()) {
        throw HttpTransportError();
    }
    const ReplyPointer reply(startReply(manager, request));
    const auto events = std::make_shared<ReplyEvents>();
    QObject::connect(reply.get(), &QNetworkReply::requestSent, reply.get(),
                     [events] { events->sent = true; });
    ReplyWatch watch(
        *reply, {timerRange(request.timeout),
                 [origin = request.url](const QUrl& to) { return isSameOrigin(origin, to); }, token,
                 shutDown, timerRange(request.effectiveDeadline()), request.maxBodyBytes});
    const ReplyWatch::End end = co_await watch.ended();

    // A reply that finished after the cancel is dropped as well: the caller has moved on.
    if (end == ReplyWatch::End::cancelled || end == ReplyWatch::End::timedOut ||
        (token && token->isCancelled())) {
        throw HttpTransportError();
    }
    if (end == ReplyWatch::End::tooLarge) {
        throw HttpBodyTooLargeError(statusOf(*reply));
    }
    const bool redirectRefused = end == ReplyWatch::End::redirectRefused;
    if (!redirectRefused && droppedUnsent(*reply, *events)) {
        co_return std::nullopt;
    }
    co_return responseFrom(*reply, request, redirectRefused);
}

bool NetworkHttpTransport::isSameOrigin(const QUrl& from, const QUrl& to)
{
    return !from.host().isEmpty() && from.scheme().compare(to.scheme(), Qt::CaseInsensitive) == 0 &&
           from.host().compare(to.host(), Qt::CaseInsensitive) == 0 &&
           from.port(defaultPort(from)) == to.port(defaultPort(to));
}

}  // namespace vantrell
