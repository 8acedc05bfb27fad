#pragma once

#include "concurrency/CancellationToken.h"
#include "networking/HttpRequest.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringView>
#include <QUrl>

#include <chrono>
#include <initializer_list>
#include <memory>
#include <optional>
#include <utility>

namespace vantrell {

// Builds the HttpRequest of a connector call from the URL text the connector concatenated
// (base URL, Gate's prefix, path, query) and the headers it signed. Nothing here sends.
class ConnectorRequest {
public:
    // A header as the connector sets it: the name, and the text of its value (written as UTF-8).
    using Header = std::pair<QByteArray, QString>;

    static constexpr std::chrono::milliseconds timeout{12000};

    // The URL of `text` when it forms one that can be sent exactly as written: an absolute
    // http or https URL with a host, no fragment, and a path and query that Qt keeps byte for
    // byte (so what was signed is what is sent). Nothing otherwise.
    static std::optional<QUrl> parseURL(const QString& text);
    // parseURL(), or ExchangeAPIError::invalidURL.
    static QUrl requireURL(const QString& text);

    // Whether `value` may be written into a header: no CR, LF or NUL, which would end the
    // header early or smuggle in another one.
    static bool isHeaderSafe(QStringView value);
    // Throws ExchangeAPIError::missingCredentials when any value is not header-safe. Connectors
    // call it with their header-bound credentials before a fetch starts any request, so a
    // broken credential sends nothing at all.
    static void requireHeaderSafe(std::initializer_list<QStringView> values);

    // An unsigned GET: no header set by the connector, so the HTTP client may answer it from
    // the public market cache. Throws invalidURL.
    static HttpRequest publicGET(const QString& urlText,
                                 std::shared_ptr<CancellationToken> cancellation = {});

    // A signed request with its headers in the given order and no body. `method` is "GET" or
    // "POST". Throws missingCredentials for an unsafe header value, then invalidURL.
    static HttpRequest signedRequest(const QByteArray& method, const QString& urlText,
                                     const QList<Header>& headers,
                                     std::shared_ptr<CancellationToken> cancellation = {});
};

}  // namespace vantrell
