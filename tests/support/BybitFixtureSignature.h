#pragma once

#include "support/FixtureSignatures.h"

#include <QString>

namespace vantrell {

// Bybit's signature rule for the fixture server. A request carrying any "X-BAPI-" header is
// signed: "X-BAPI-API-KEY" must be `apiKey`, "X-BAPI-TIMESTAMP" milliseconds, "X-BAPI-RECV-WINDOW"
// present, and "X-BAPI-SIGN" the hex HMAC-SHA256 (keyed with `secretKey`) of timestamp + key +
// receive window + the raw query. Otherwise 401 with Bybit's body (retCode 10003 for the key,
// 10004 for the signature). Unsigned requests pass.
SignatureCheck bybitFixtureSignature(const QString& apiKey, const QString& secretKey);

}  // namespace vantrell
