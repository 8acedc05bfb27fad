#pragma once

#include "concurrency/CancellationToken.h"
#include "networking/HttpTransport.h"

#include <QUrl>

#include <memory>
#include <optional>

class QNetworkAccessManager;

namespace vantrell {

// HttpTransport over a QNetworkAccessManager, for the main thread.
//
// Every HTTP status is a response, although Qt also flags 4xx and 5xx replies as errors. A
// transfer that fails (no connection, time-out or deadline, TLS failure, cancellation, a body cut
// short) throws HttpTransportError; a body that grows past the request's maxBodyBytes is given up
// as it arrives, with HttpBodyTooLargeError. Redirects are followed only within the origin of the
// request, so signed headers never travel to another host; any other redirect comes back as the
// 3xx response.
//
// A request that Qt failed without ever writing it (a closed connection to the same host failed
// everything queued behind it) is started again, at most twice; a request that went out is never
// sent again by the transport.
class NetworkHttpTransport final : public HttpTransport {
public:
    // The manager must live on the calling thread and outlive the transport.
    explicit NetworkHttpTransport(QNetworkAccessManager& manager);

    // The transport over the process-wide manager, created on first use. Main thread only; the
    // manager is deleted as the application object goes, while Qt still has its application.
    static NetworkHttpTransport& shared();

    QCoro::Task<HttpResponse> perform(HttpRequest request) override;

    // Ends every transfer still open and refuses all later ones: at quit, so that every
    // coroutine awaiting a reply resumes (with HttpTransportError) at once instead of staying
    // suspended, with its frame, after the event loop has stopped.
    void shutDown();

    // Whether a redirect from `from` to `to` stays within one origin: same scheme, host and
    // port, with the scheme's default port filled in.
    static bool isSameOrigin(const QUrl& from, const QUrl& to);

private:
    // One transfer; nothing when Qt dropped the request before it was written.
    static QCoro::Task<std::optional<HttpResponse>> transfer(
        QNetworkAccessManager& manager, const HttpRequest& request,
        std::shared_ptr<CancellationToken> shutDown);

    QNetworkAccessManager* m_manager;
    std::shared_ptr<CancellationToken> m_shutDown = CancellationToken::create();
};

}  // namespace vantrell
