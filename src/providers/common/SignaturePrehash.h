#pragma once

#include "providers/common/QueryString.h"
#include "providers/common/RequestTimestamp.h"

#include <QByteArray>
#include <QString>
#include <QStringView>

namespace vantrell {

// The text each exchange signs, as pure functions of the request's parts and its timestamp, so
// the signing can be checked against known vectors without a clock or a network. The MAC over
// the text is RequestSigner's; the key is always the UTF-8 bytes of the account's secret.
class SignaturePrehash {
public:
    // Binance signs its query text: the parameters plus "recvWindow" and "timestamp"
    // (milliseconds), which replace any caller value of those keys, sorted by key and written
    // without percent-encoding. The same text is sent, followed by "&signature=".
    static QString binance(RequestParameters parameters, QStringView receiveWindow,
                           const RequestTimestamp& timestamp);

    // OKX: ISO timestamp + method + the request path exactly as appended to the base URL
    // (a query, when there is one, included).
    static QString okx(const RequestTimestamp& timestamp, QStringView method,
                       QStringView requestPath);

    // Bybit: milliseconds + API key + receive window + the query text (no "?").
    static QString bybit(const RequestTimestamp& timestamp, QStringView apiKey,
                         QStringView receiveWindow, QStringView query);

    // Bitget: milliseconds + method + path, then "?" + query only when the query is not empty.
    static QString bitget(const RequestTimestamp& timestamp, QStringView method, QStringView path,
                          QStringView query);

    // Gate: five lines joined by "\n" with none at the end: method, prefix + path, query (no
    // "?", empty when there is none), the SHA-512 hex of the body, whole seconds.
    static QString gate(QStringView method, QStringView prefixedPath, QStringView query,
                        const QByteArray& body, const RequestTimestamp& timestamp);
};

}  // namespace vantrell
