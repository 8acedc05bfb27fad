#include "networking/NetworkHttpTransport.h"

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

QNetworkReply* startReply(QNetworkAccessManager& manager, const HttpRequest& request)
{
    const QNetworkRequest networkRequest = networkRequestFor(request);
    if (request.body.isEmpty()) {
        return manager.sendCustomRequest(networkRequest, request.effectiveMethod());
    }
    return manager.sendCustomRequest(networkRequest, request.effectiveMethod(), request.body);
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
        response.body = reply.readAll();
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

}  // namespace

NetworkHttpTransport::NetworkHttpTransport(QNetworkAccessManager& manager) : m_manager(&manager) {}

NetworkHttpTransport& NetworkHttpTransport::shared()
{
    Q_ASSERT(QCoreApplication::instance() != nullptr);
    Q_ASSERT(QThread::currentThread() == QCoreApplication::instance()->thread());
    // One manager for the whole process keeps connections and TLS sessions reused across
    // exchanges; the application object deletes it on exit.
    static auto* const manager = new QNetworkAccessManager(QCoreApplication::instance());
    static NetworkHttpTransport transport(*manager);
    return transport;
}

QCoro::Task<HttpResponse> NetworkHttpTransport::perform(HttpRequest request)
{
    const std::shared_ptr<CancellationToken> token = request.cancellation;
    if (token && token->isCancelled()) {
        throw HttpTransportError();
    }
    const ReplyPointer reply(startReply(*m_manager, request));

    const auto redirectRefused = std::make_shared<bool>(false);
    QObject::connect(reply.get(), &QNetworkReply::redirected, reply.get(),
                     [reply = reply.get(), origin = request.url, redirectRefused](const QUrl& to) {
                         if (isSameOrigin(origin, to)) {
                             emit reply->redirectAllowed();
                         } else {
                             *redirectRefused = true;
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
    co_return responseFrom(*reply, *redirectRefused, request.effectiveMethod() != "HEAD");
}

bool NetworkHttpTransport::isSameOrigin(const QUrl& from, const QUrl& to)
{
    return !from.host().isEmpty() && from.scheme().compare(to.scheme(), Qt::CaseInsensitive) == 0 &&
           from.host().compare(to.host(), Qt::CaseInsensitive) == 0 &&
           from.port(defaultPort(from)) == to.port(defaultPort(to));
}

}  // namespace vantrell
