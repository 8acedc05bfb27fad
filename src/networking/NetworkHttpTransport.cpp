#include "networking/NetworkHttpTransport.h"

#include "models/JsonDocument.h"

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
#include <vector>

namespace vantrell {

namespace {

// The coroutine resumes inside the reply's `finished` signal, so the reply must not be deleted
// there and then. Nor may its connections be cut: an aborted reply tells the network thread to
// drop the transfer only after `finished`, and without that message the connection stays busy,
// so requests queued for the same host wait for their time-out.
struct ReplyDeleter {
    void operator()(QNetworkReply* reply) const
    {
        reply->abort();  // does nothing once finished
        reply->deleteLater();
    }
};
using ReplyPointer = std::unique_ptr<QNetworkReply, ReplyDeleter>;

// Aborting resumes the awaiting coroutine from inside abort(); queue it so that whoever asked
// for the abort (a cancelling fan-out, Qt's redirect handling) is not re-entered.
void abortLater(QNetworkReply* reply)
{
    QMetaObject::invokeMethod(
        reply,
        [reply] {
            // A reply that has finished, or already carries an error, has nothing left to abort
            // (Qt complains when an error is reported twice).
            if (!reply->isFinished() && reply->error() == QNetworkReply::NoError) {
                reply->abort();
            }
        },
        Qt::QueuedConnection);
}

QNetworkRequest networkRequestFor(const HttpRequest& request)
{
    QNetworkRequest result(request.url);
    for (const auto& [name, value] : request.headers) {
        result.setRawHeader(name, value);
    }
    const auto timeout =
        std::clamp<long long>(request.timeout.count(), 0, std::numeric_limits<int>::max());
    result.setTransferTimeout(static_cast<int>(timeout));
    // Each redirect is checked by the `redirected` handler in perform().
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
// against the one of a connection closed mid-body; the announced length settles it. (A
// compressed body is measured after decompression, so Qt drops its Content-Length.)
bool isCutShort(const HttpResponse& response)
{
    const std::optional<QByteArray> encoding = response.header("Content-Encoding");
    if (encoding && encoding->compare("identity", Qt::CaseInsensitive) != 0) {
        return false;
    }
    bool ok = false;
    const qlonglong announced = response.header("Content-Length").value_or("").toLongLong(&ok);
    return ok && response.body.size() < announced;
}

HttpResponse responseFrom(QNetworkReply& reply, bool redirectRefused, bool expectsBody)
{
    const QVariant status = reply.attribute(QNetworkRequest::HttpStatusCodeAttribute);
    if (!deliveredResponse(reply.error(), status, redirectRefused)) {
        throw HttpTransportError();
    }
    HttpResponse response;
    if (status.isValid()) {
        response.statusCode = status.toInt();
    }
    response.headers = reply.rawHeaderPairs();
    // An aborted reply is closed; reading it would only produce a warning.
    if (reply.isOpen()) {
        response.body = readBody(reply);
    }
    const bool statusError = reply.error() != QNetworkReply::NoError && !redirectRefused;
    if (statusError && expectsBody && isCutShort(response)) {
        throw HttpTransportError();
    }
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

// What a reply went through on its way, besides its outcome.
struct ReplyEvents {
    bool sent = false;  // the request was written to a connection, at least once
    bool redirectRefused = false;
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

// Set on a manager by shutDown(): every transport over it refuses new transfers from then on.
const char* const shutDownProperty = "vantrellShutDown";

void markShutDown(QNetworkAccessManager& manager)
{
    manager.setProperty(shutDownProperty, true);
}

bool isShutDown(const QNetworkAccessManager& manager)
{
    return manager.property(shutDownProperty).toBool();
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
    for (int attempt = 1;; ++attempt) {
        std::optional<HttpResponse> response = co_await transfer(*manager, request);
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
    if (m_manager == nullptr) {
        return;
    }
    markShutDown(*m_manager);
    // Aborting resumes the reply's coroutine at once, which may finish (and delete) other
    // replies; each is looked at only while it still exists.
    std::vector<QPointer<QNetworkReply>> replies;
    for (QNetworkReply* reply : m_manager->findChildren<QNetworkReply*>()) {
        replies.emplace_back(reply);
    }
    for (const QPointer<QNetworkReply>& reply : replies) {
        if (reply && !reply->isFinished()) {
            reply->abort();
        }
    }
}

QCoro::Task<std::optional<HttpResponse>> NetworkHttpTransport::transfer(
    QNetworkAccessManager& manager, const HttpRequest& request)
{
    const std::shared_ptr<CancellationToken> token = request.cancellation;
    if (token && token->isCancelled()) {
        throw HttpTransportError();
    }
    // A shut-down manager stays alive until the application goes; it starts nothing more.
    if (isShutDown(manager)) {
        throw HttpTransportError();
    }
    const ReplyPointer reply(startReply(manager, request));

    const auto events = std::make_shared<ReplyEvents>();
    QObject::connect(reply.get(), &QNetworkReply::requestSent, reply.get(),
                     [events] { events->sent = true; });
    QObject::connect(reply.get(), &QNetworkReply::redirected, reply.get(),
                     [reply = reply.get(), origin = request.url, events](const QUrl& to) {
                         if (isSameOrigin(origin, to)) {
                             emit reply->redirectAllowed();
                         } else {
                             events->redirectRefused = true;
                             abortLater(reply);
                         }
                     });
    const int cancelCallback =
        token ? token->onCancel([reply = QPointer<QNetworkReply>(reply.get())] {
            if (reply) {
                abortLater(reply);
            }
        })
              : 0;

    co_await reply.get();

    if (token) {
        token->removeCallback(cancelCallback);
        // A reply that finished after the cancel is dropped as well: the caller has moved on.
        if (token->isCancelled()) {
            throw HttpTransportError();
        }
    }
    if (droppedUnsent(*reply, *events)) {
        co_return std::nullopt;
    }
    co_return responseFrom(*reply, events->redirectRefused, request.effectiveMethod() != "HEAD");
}

bool NetworkHttpTransport::isSameOrigin(const QUrl& from, const QUrl& to)
{
    return !from.host().isEmpty() && from.scheme().compare(to.scheme(), Qt::CaseInsensitive) == 0 &&
           from.host().compare(to.host(), Qt::CaseInsensitive) == 0 &&
           from.port(defaultPort(from)) == to.port(defaultPort(to));
}

}  // namespace vantrell
