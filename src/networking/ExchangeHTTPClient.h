#pragma once

#include "models/Clock.h"
#include "models/JsonCoding.h"
#include "models/JsonDocument.h"
#include "models/JsonError.h"
#include "models/JsonReader.h"
#include "networking/ExchangeAPIError.h"
#include "networking/HttpTransport.h"
#include "networking/PublicMarketCache.h"

#include <QByteArray>
#include <QCoroTask>
#include <QString>
#include <QUrl>

#include <optional>
#include <utility>

namespace vantrell {

// Sends the requests of the exchange connectors: answers the public ticker requests from the
// public market cache while a fresh copy is there, turns failed transfers and HTTP statuses into
// ExchangeAPIError and decodes the JSON body into the type the caller names.
//
// A small value: copies are interchangeable and share only the transport and the cache. It
// never retries and keeps no state of its own.
class ExchangeHTTPClient {
public:
    // The process-wide transport, cache and wall clock.
    ExchangeHTTPClient();
    explicit ExchangeHTTPClient(HttpTransport& transport,
                                PublicMarketCache& cache = PublicMarketCache::shared(),
                                const Clock& clock = Clock::system());

    // Performs `request` as it is and decodes the 2xx body into T; for std::optional<T>, a body
    // that is JSON null gives nothing. Throws ExchangeAPIError (httpStatus, decoding,
    // rateLimited, invalidResponse, network), except for a cached body that no longer decodes
    // into T: its JsonDecodeError comes out as it is.
    template <typename T>
    QCoro::Task<T> send(HttpRequest request) const;

    // The steps of send() that do not depend on T.

    // The cache key of a request that may be answered from the public market cache: an unsigned
    // GET of one of the public ticker paths. The key is the whole URL, query included.
    static std::optional<QUrl> publicMarketURL(const HttpRequest& request);
    // The message of a failed reply: the first string among "msg", "message" and "code" of a
    // JSON object body, else "请求失败".
    static QString publicErrorMessage(const QByteArray& body);
    // The error name of a failed reply: the string "label" of a JSON object body (Gate names its
    // errors so), else empty. Never shown to the user.
    static QString errorLabel(const QByteArray& body);
    // The delay of a rate-limited reply from its Retry-After text: 60 when absent or not a
    // number, otherwise kept within 1 to 3600 seconds.
    static double retryAfterSeconds(const std::optional<QByteArray>& retryAfter);
    // The error for a response that is not a 2xx HTTP response; nothing for 2xx.
    static std::optional<ExchangeAPIError> errorForResponse(const HttpResponse& response);

private:
    // The body of a 2xx reply; ExchangeAPIError for everything else.
    static QCoro::Task<QByteArray> fetchBody(HttpTransport& transport, HttpRequest request);

    template <typename T>
    static T decodeReply(const QByteArray& body);

    HttpTransport* m_transport;
    PublicMarketCache* m_cache;
    const Clock* m_clock;
};

template <typename T>
QCoro::Task<T> ExchangeHTTPClient::send(HttpRequest request) const
{
    // The caller's client may be gone when the reply arrives; work on a copy from here on.
    const ExchangeHTTPClient self = *this;
    const std::optional<QUrl> cacheKey = publicMarketURL(request);
    if (cacheKey) {
        if (std::optional<QByteArray> cached =
                self.m_cache->value(*cacheKey, self.m_clock->now())) {
            co_return decodeJson<T>(JsonDocument::parse(*cached).root());
        }
    }
    QByteArray body = co_await fetchBody(*self.m_transport, std::move(request));
    T value = decodeReply<T>(body);
    // Only bodies that decoded are kept, so an error reply is never served from the cache.
    if (cacheKey) {
        self.m_cache->insert(std::move(body), *cacheKey, self.m_clock->now());
    }
    co_return std::move(value);
}

template <typename T>
T ExchangeHTTPClient::decodeReply(const QByteArray& body)
{
    try {
        return decodeJson<T>(JsonDocument::parse(body).root());
    } catch (const JsonDecodeError& error) {
        throw ExchangeAPIError::decoding(QString::fromUtf8(error.what()));
    }
}

}  // namespace vantrell
