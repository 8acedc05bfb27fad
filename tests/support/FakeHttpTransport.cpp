#include "support/FakeHttpTransport.h"

#include <QCoreApplication>

#include <gtest/gtest.h>

#include <algorithm>

namespace vantrell {

HttpResponse FakeHttpTransport::json(int status, QByteArray body,
                                     QList<HttpResponse::Header> headers)
{
    headers.prepend({"Content-Type", "application/json"});
    return HttpResponse{status, std::move(headers), std::move(body)};
}

void FakeHttpTransport::respond(const QByteArray& method, const QString& path,
                                HttpResponse response)
{
    respond(method, path,
            [response = std::move(response)](const HttpRequest&) { return response; });
}

void FakeHttpTransport::respond(const QByteArray& method, const QString& path, Handler handler)
{
    m_routes.insert_or_assign({method, path}, std::move(handler));
}

void FakeHttpTransport::fail(const QByteArray& method, const QString& path)
{
    respond(method, path, [](const HttpRequest&) -> HttpResponse { throw HttpTransportError(); });
}

void FakeHttpTransport::setFallback(Handler handler)
{
    m_fallback = std::move(handler);
}

void FakeHttpTransport::setHolding(bool holding)
{
    m_holding = holding;
}

int FakeHttpTransport::heldCount() const
{
    return static_cast<int>(std::count_if(m_held.begin(), m_held.end(),
                                          [](const auto& hold) { return !hold->isReleased(); }));
}

void FakeHttpTransport::releaseAll()
{
    for (const auto& hold : std::exchange(m_held, {})) {
        hold->release();
    }
}

int FakeHttpTransport::requestCount(const QByteArray& method, const QString& path) const
{
    return static_cast<int>(
        std::count_if(m_requests.begin(), m_requests.end(), [&](const HttpRequest& request) {
            return request.effectiveMethod() == method && request.url.path() == path;
        }));
}

QCoro::Task<HttpResponse> FakeHttpTransport::perform(HttpRequest request)
{
    m_requests.push_back(request);
    const auto token = request.cancellation;
    if (token && token->isCancelled()) {
        throw HttpTransportError();
    }
    if (m_holding) {
        m_held.push_back(std::make_shared<ReplyHold>());
        if (co_await ReplyHold::wait(m_held.back(), token)) {
            throw HttpTransportError();
        }
    }
    co_return answer(request);
}

HttpResponse FakeHttpTransport::answer(const HttpRequest& request) const
{
    const auto route = m_routes.find({request.effectiveMethod(), request.url.path()});
    if (route != m_routes.end()) {
        return route->second(request);
    }
    if (m_fallback) {
        return m_fallback(request);
    }
    ADD_FAILURE() << "FakeHttpTransport: no reply for " << request.effectiveMethod().constData()
                  << ' ' << request.url.path().toStdString();
    throw HttpTransportError();
}

}  // namespace vantrell
