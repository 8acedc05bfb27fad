#pragma once

#include <QString>

#include <map>

namespace vantrell {

// The parameters of one request. A std::map keeps the keys unique and in ascending order;
// every key the connectors send is ASCII letters, so QString's order is byte order.
using RequestParameters = std::map<QString, QString>;

// The query text of a request, built once and then both signed and sent byte for byte.
class QueryString {
public:
    // Bybit, Bitget, Gate: the pairs in key order as percent-encoded URL query items
    // ("a=x%20y&b=1"); the empty text when there are no pairs.
    static QString encoded(const RequestParameters& parameters);

    // Binance: the pairs in key order written "key=value" without any percent-encoding, joined
    // by "&". A value that cannot stand in a URL then makes the URL invalid instead of being
    // sent differently from what was signed.
    static QString plain(const RequestParameters& parameters);
};

}  // namespace vantrell
