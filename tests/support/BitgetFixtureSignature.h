#pragma once

#include "support/FixtureSignatures.h"

#include <QString>

namespace vantrell {

// Bitget's signature rule, recomputed on the server side. A request carrying "ACCESS-KEY" or
// "ACCESS-SIGN" is signed: the key and "ACCESS-PASSPHRASE" must match, "ACCESS-TIMESTAMP" must
// be milliseconds, and "ACCESS-SIGN" must be Base64 HMAC-SHA256(secret, timestamp + method +
// path + ("?" + raw query when there is one) + body). Otherwise 401 with Bitget's error body.
SignatureCheck bitgetFixtureSignature(const QString& apiKey, const QString& secretKey,
                                      const QString& passphrase);

}  // namespace vantrell
