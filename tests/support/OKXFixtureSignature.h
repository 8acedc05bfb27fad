#pragma once

#include "support/FixtureSignatures.h"

#include <QString>

namespace vantrell {

// OKX's signature rule, recomputed on the server side with Qt's MAC. A request carrying any
// "OK-ACCESS-" header is signed: the key and passphrase must match, the timestamp must be a UTC
// "yyyy-MM-ddTHH:mm:ss.zzzZ" text, and "OK-ACCESS-SIGN" must be the Base64 HMAC-SHA256 of
// timestamp + method + path (+ "?" + query when there is one). Otherwise 401 with OKX's error
// body: 50111 for the key, 50105 for the passphrase, 50112 for the timestamp, 50113 for the
// signature.
SignatureCheck okxFixtureSignature(const QString& apiKey, const QString& secretKey,
                                   const QString& passphrase);

}  // namespace vantrell
