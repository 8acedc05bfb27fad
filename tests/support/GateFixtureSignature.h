#pragma once

#include "support/FixtureSignatures.h"

#include <QString>

namespace vantrell {

// Gate's signature rule, recomputed on the server side. A request carrying "KEY" or "SIGN" is
// signed: the key must be `apiKey`, "Timestamp" must be whole seconds (digits only, ten or
// fewer), and "SIGN" must be the hex HMAC-SHA512(secret) of
// "GET\n<path>\n<raw query>\n<hex SHA-512 of the body>\n<Timestamp>". Otherwise 401 with Gate's
// error body (INVALID_KEY or INVALID_SIGNATURE).
SignatureCheck gateFixtureSignature(const QString& apiKey, const QString& secretKey);

}  // namespace vantrell
