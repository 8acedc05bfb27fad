#pragma once

#include "models/Exchange.h"

#include <QString>
#include <QStringView>

#include <array>
#include <optional>
#include <vector>

namespace vantrell {

// One credential string of an account. Every account, main or additional, has all twelve; an
// account uses only the fields of its own exchange. The order is part of the stored data: the
// account identity and the removal of an account walk the fields in this order.
enum class CredentialField {
    binanceAPIKey,
    binanceSecretKey,
    okxAPIKey,
    okxSecretKey,
    okxPassphrase,
    bybitAPIKey,
    bybitSecretKey,
    gateAPIKey,
    gateSecretKey,
    bitgetAPIKey,
    bitgetSecretKey,
    bitgetPassphrase,
};

inline constexpr std::array<CredentialField, 12> allCredentialFields{
    CredentialField::binanceAPIKey,   CredentialField::binanceSecretKey,
    CredentialField::okxAPIKey,       CredentialField::okxSecretKey,
    CredentialField::okxPassphrase,   CredentialField::bybitAPIKey,
    CredentialField::bybitSecretKey,  CredentialField::gateAPIKey,
    CredentialField::gateSecretKey,   CredentialField::bitgetAPIKey,
    CredentialField::bitgetSecretKey, CredentialField::bitgetPassphrase,
};

// "binance.api-key", "okx.passphrase", ...: the tail of the field's defaults key.
QString rawValue(CredentialField field);
// The field with exactly this raw value (case-sensitive), or nothing.
std::optional<CredentialField> credentialFieldFromRaw(QStringView raw);

// The fields one exchange's account uses; only OKX and Bitget have a passphrase.
struct ExchangeCredentialFields {
    CredentialField apiKey;
    CredentialField secretKey;
    std::optional<CredentialField> passphrase;

    // API key, secret key, then the passphrase when there is one.
    std::vector<CredentialField> all() const;
};
ExchangeCredentialFields credentialFields(Exchange exchange);

}  // namespace vantrell
