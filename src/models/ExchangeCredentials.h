#pragma once

#include <QString>

namespace vantrell {

// The credentials one connector needs, copied out of the credential store. Only the store's
// readers build them, and only when complete (every field non-empty; values are not trimmed,
// so a value of spaces counts).

struct BinanceCredentials {
    QString apiKey;
    QString secretKey;

    bool isComplete() const { return !apiKey.isEmpty() && !secretKey.isEmpty(); }
    friend bool operator==(const BinanceCredentials&, const BinanceCredentials&) = default;
};

struct OKXCredentials {
    QString apiKey;
    QString secretKey;
    QString passphrase;

    bool isComplete() const
    {
        return !apiKey.isEmpty() && !secretKey.isEmpty() && !passphrase.isEmpty();
    }
    friend bool operator==(const OKXCredentials&, const OKXCredentials&) = default;
};

struct BybitCredentials {
    QString apiKey;
    QString secretKey;

    bool isComplete() const { return !apiKey.isEmpty() && !secretKey.isEmpty(); }
    friend bool operator==(const BybitCredentials&, const BybitCredentials&) = default;
};

struct GateCredentials {
    QString apiKey;
    QString secretKey;

    bool isComplete() const { return !apiKey.isEmpty() && !secretKey.isEmpty(); }
    friend bool operator==(const GateCredentials&, const GateCredentials&) = default;
};

struct BitgetCredentials {
    QString apiKey;
    QString secretKey;
    QString passphrase;

    bool isComplete() const
    {
        return !apiKey.isEmpty() && !secretKey.isEmpty() && !passphrase.isEmpty();
    }
    friend bool operator==(const BitgetCredentials&, const BitgetCredentials&) = default;
};

}  // namespace vantrell
