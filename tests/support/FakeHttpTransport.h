#pragma once

#include "networking/HttpTransport.h"
#include "support/ReplyHold.h"

#include <QByteArray>
#include <QList>
#include <QString>

#include <functional>
#include <map>
#include <memory>
#include <utility>
#include <vector>

namespace vantrell {

// A scripted HttpTransport for unit tests: no sockets, no event loop needed unless replies are
// held. It must outlive the requests in flight.
//
// Replies are looked up by method (unset means GET) and URL path, the query ignored. A request
// nothing answers fails the running test and the transfer. Every request is recorded as it
// arrives, before it is answered.
//
//     FakeHttpTransport transport;
//     transport.respond("GET", "/api/v3/ticker/price", FakeHttpTransport::json(200, "[]"));
//     transport.fail("GET", "/api/v3/account");
class FakeHttpTransport : public HttpTransport {
public:
    // The outcome of one request: return the response, or throw HttpTransportError.
    using Handler = std::function<HttpResponse(const HttpRequest&)>;

    FakeHttpTransport() = default;
    FakeHttpTransport(const FakeHttpTransport&) = delete;
    FakeHttpTransport& operator=(const FakeHttpTransport&) = delete;

    // A response with the given status, body and headers ("Content-Type: application/json"
    // first).
    static HttpResponse json(int status, QByteArray body, QList<HttpResponse::Header> headers = {});

    void respond(const QByteArray& method, const QString& path, HttpResponse response);
    void respond(const QByteArray& method, const QString& path, Handler handler);
    // Every such request ends as a failed transfer.
    void fail(const QByteArray& method, const QString& path);
    // Answers requests that no route matches.
    void setFallback(Handler handler);

    // While holding, requests are recorded but answered only by releaseAll(); a held request
    // whose cancellation token fires ends as a failed transfer. Lets tests keep several
    // requests in flight at once.
    void setHolding(bool holding);
    int heldCount() const;
    // Lets every held request go on; they resume on the next turn of the event loop.
    void releaseAll();

    const std::vector<HttpRequest>& requests() const { return m_requests; }
    int requestCount() const { return static_cast<int>(m_requests.size()); }
    int requestCount(const QByteArray& method, const QString& path) const;

    QCoro::Task<HttpResponse> perform(HttpRequest request) override;

private:
    HttpResponse answer(const HttpRequest& request) const;

    std::map<std::pair<QByteArray, QString>, Handler> m_routes;
    Handler m_fallback;
    std::vector<HttpRequest> m_requests;
    bool m_holding = false;
    std::vector<std::shared_ptr<ReplyHold>> m_held;
};

}  // namespace vantrell
