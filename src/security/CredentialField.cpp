#include "security/CredentialField.h"

namespace vantrell {

QString rawValue(CredentialField field)
{
    switch (field) {
        case CredentialField::binanceAPIKey:
            return QStringLiteral("binance.api-key");
        case CredentialField::binanceSecretKey:
            return QStringLiteral("binance.secret-key");
        case CredentialField::okxAPIKey:
            return QStringLiteral("okx.api-key");
        case CredentialField::okxSecretKey:
            return QStringLiteral("okx.secret-key");
        case CredentialField::okxPassphrase:
            return QStringLiteral("okx.passphrase");
        case CredentialField::bybitAPIKey:
            return QStringLiteral("bybit.api-key");
        case CredentialField::bybitSecretKey:
            return QStringLiteral("bybit.secret-key");
        case CredentialField::gateAPIKey:
            return QStringLiteral("gate.api-key");
        case CredentialField::gateSecretKey:
            return QStringLiteral("gate.secret-key");
        case CredentialField::bitgetAPIKey:
            return QStringLiteral("bitget.api-key");
        case CredentialField::bitgetSecretKey:
            return QStringLiteral("bitget.secret-key");
        case CredentialField::bitgetPassphrase:
            return QStringLiteral("bitget.passphrase");
    }
    Q_UNREACHABLE();
    return {};
}

std::optional<CredentialField> credentialFieldFromRaw(QStringView raw)
{
    for (CredentialField field : allCredentialFields) {
        if (rawValue(field) == raw) {
            return field;
        }
    }
    return std::nullopt;
}

std::vector<CredentialField> ExchangeCredentialFields::all() const
{
    std::vector<CredentialField> fields{apiKey, secretKey};
    if (passphrase) {
        fields.push_back(*passphrase);
    }
    return fields;
}

ExchangeCredentialFields credentialFields(Exchange exchange)
{
    using F = CredentialField;
    switch (exchange) {
        case Exchange::binance:
            return {F::binanceAPIKey, F::binanceSecretKey, std::nullopt};
        case Exchange::okx:
            return {F::okxAPIKey, F::okxSecretKey, F::okxPassphrase};
        case Exchange::bybit:
            return {F::bybitAPIKey, F::bybitSecretKey, std::nullopt};
        case Exchange::bitget:
            return {F::bitgetAPIKey, F::bitgetSecretKey, F::bitgetPassphrase};
        case Exchange::gateio:
            return {F::gateAPIKey, F::gateSecretKey, std::nullopt};
    }
    Q_UNREACHABLE();
    return {F::binanceAPIKey, F::binanceSecretKey, std::nullopt};
}

}  // namespace vantrell
