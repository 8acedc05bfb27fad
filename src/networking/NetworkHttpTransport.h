#pragma once

#include "networking/HttpTransport.h"

#include <QUrl>

class QNetworkAccessManager;

namespace vantrell {

// HttpTransport over a QNetworkAccessManager, for the main thread.
//
// Every HTTP status is a response, although Qt also flags 4xx and 5xx replies as errors. A
// transfer that fails (no connection, time-out, TLS failure, cancellation, a body cut short)
// throws HttpTransportError. Redirects are followed only within the origin of the request, so
// signed headers never travel to another host; any other redirect comes back as the 3xx response.
class NetworkHttpTransport final : public HttpTransport {
public:
    // The manager must live on the calling thread and outlive the transport.
    explicit NetworkHttpTransport(QNetworkAccessManager& manager);

    // The transport over the process-wide manager, created on first use. Main thread only; the
    // manager is owned by the application object.
    static NetworkHttpTransport& shared();

    QCoro::Task<HttpResponse> perform(HttpRequest request) override;

    // Whether a redirect from `from` to `to` stays within one origin: same scheme, host and
    // port, with the scheme's default port filled in.
    static bool isSameOrigin(const QUrl& from, const QUrl& to);

private:
    QNetworkAccessManager* m_manager;
};

}  // namespace vantrell
