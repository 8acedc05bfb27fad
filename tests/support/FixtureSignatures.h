#pragma once

#include "support/LoopbackServer.h"

#include <QString>

#include <functional>
#include <optional>

namespace vantrell {

// What an exchange answers to a request whose key or signature is wrong, or nothing when the
// request passes (unsigned requests always pass). The fixture server asks it before serving a
// route, like the real exchange checks before it answers.
using SignatureCheck = std::function<std::optional<LoopbackReply>(const RecordedRequest&)>;

// The exchanges' signature rules, recomputed from the secret on the server side. They use Qt's
// MAC directly rather than the connectors' signing code, so a fault there cannot hide itself.
// Add one factory per exchange.
class FixtureSignatures {
public:
    // Accepts everything.
    static SignatureCheck none();

    // A request carrying "X-MBX-APIKEY" or a "signature" parameter is signed: the key must be
    // `apiKey`, the query must hold "recvWindow" and "timestamp" and end with
    // "&signature=" + hex HMAC-SHA256(secret, everything before it). Otherwise 401 with
    // Binance's error body (-2015 for the key, -1022 for the signature).
    static SignatureCheck binance(const QString& apiKey, const QString& secretKey);
};

}  // namespace vantrell
