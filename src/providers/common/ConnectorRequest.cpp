#include "providers/common/ConnectorRequest.h"

#include "networking/ExchangeAPIError.h"

namespace vantrell {

namespace {

// The path and query of the URL text as written: everything after "scheme://authority".
QByteArray pathAndQuery(const QByteArray& text)
{
    const qsizetype authority = text.indexOf("://");
    if (authority < 0) {
        return {};
    }
    const qsizetype pathStart = text.indexOf('/', authority + 3);
    const qsizetype queryStart = text.indexOf('?', authority + 3);
    qsizetype start = pathStart;
    if (start < 0 || (queryStart >= 0 && queryStart < start)) {
        start = queryStart;
    }
    return start < 0 ? QByteArray() : text.mid(start);
}

}  // namespace

std::optional<QUrl> ConnectorRequest::parseURL(const QString& text)
{
    const QByteArray bytes = text.toUtf8();
    const QUrl url = QUrl::fromEncoded(bytes, QUrl::StrictMode);
    const QString scheme = url.scheme();
    if (!url.isValid() || (scheme != u"http" && scheme != u"https") || url.host().isEmpty() ||
        url.hasFragment()) {
        return std::nullopt;
    }
    // Qt decodes some escapes ("%41" becomes "A") and encodes raw non-ASCII; either would send
    // a different text from the one that was signed.
    const QByteArray written = pathAndQuery(bytes);
    const QByteArray kept = url.toEncoded(QUrl::RemoveScheme | QUrl::RemoveAuthority);
    if (written != kept) {
        return std::nullopt;
    }
    return url;
}

QUrl ConnectorRequest::requireURL(const QString& text)
{
    std::optional<QUrl> url = parseURL(text);
    if (!url) {
        throw ExchangeAPIError::invalidURL();
    }
    return std::move(*url);
}

bool ConnectorRequest::isHeaderSafe(QStringView value)
{
    for (const QChar c : value) {
        if (c == u'\r' || c == u'\n' || c == u'\0') {
            return false;
        }
    }
    return true;
}

void ConnectorRequest::requireHeaderSafe(std::initializer_list<QStringView> values)
{
    for (const QStringView value : values) {
        if (!isHeaderSafe(value)) {
            throw ExchangeAPIError::missingCredentials();
        }
    }
}

HttpRequest ConnectorRequest::publicGET(const QString& urlText,
                                        std::shared_ptr<CancellationToken> cancellation)
{
    HttpRequest request;
    request.url = requireURL(urlText);
    request.timeout = timeout;
    request.cancellation = std::move(cancellation);
    return request;
}

HttpRequest ConnectorRequest::signedRequest(const QByteArray& method, const QString& urlText,
                                            const QList<Header>& headers,
                                            std::shared_ptr<CancellationToken> cancellation)
{
    for (const Header& header : headers) {
        if (!isHeaderSafe(header.second)) {
            throw ExchangeAPIError::missingCredentials();
        }
    }
    HttpRequest request;
    request.url = requireURL(urlText);
    request.method = method;
    for (const auto& [name, value] : headers) {
        request.headers.append({name, value.toUtf8()});
    }
    request.timeout = timeout;
    request.cancellation = std::move(cancellation);
    return request;
}

}  // namespace vantrell
