#pragma once

#include <QByteArray>
#include <QString>

namespace vantrell {

// The message authentication codes and digests the exchanges ask for. Keys and messages are
// bytes: callers convert their texts with toUtf8() where they call, so the conversion is seen.
class RequestSigner {
public:
    // 64 lower-case hex digits (Binance, Bybit).
    static QString hmacSha256Hex(const QByteArray& key, const QByteArray& message);
    // Standard Base64 with padding, 44 characters (OKX, Bitget).
    static QString hmacSha256Base64(const QByteArray& key, const QByteArray& message);
    // 128 lower-case hex digits (Gate).
    static QString hmacSha512Hex(const QByteArray& key, const QByteArray& message);
    // SHA-512 of a request body as 128 lower-case hex digits (Gate signs it, even when empty).
    static QString sha512Hex(const QByteArray& body);
};

}  // namespace vantrell
