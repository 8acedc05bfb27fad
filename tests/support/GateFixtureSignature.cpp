#include "support/GateFixtureSignature.h"

#include <QCryptographicHash>
#include <QMessageAuthenticationCode>

#include <algorithm>

namespace vantrell {

namespace {

// Seconds, not milliseconds: a millisecond count has thirteen digits today.
bool isWholeSeconds(const QByteArray& text)
{
    return !text.isEmpty() && text.size() <= 10 &&
           std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

}  // namespace

SignatureCheck gateFixtureSignature(const QString& apiKey, const QString& secretKey)
{
    const QByteArray key = apiKey.toUtf8();
    const QByteArray secret = secretKey.toUtf8();
    return [key, secret](const RecordedRequest& request) -> std::optional<LoopbackReply> {
        const std::optional<QByteArray> sentKey = request.header("KEY");
        const std::optional<QByteArray> signature = request.header("SIGN");
        if (!sentKey && !signature) {
            return std::nullopt;
        }
        if (sentKey != key) {
            return LoopbackReply::json(
                401, R"({"label":"INVALID_KEY","message":"Invalid key provided"})");
        }
        const QByteArray timestamp = request.header("Timestamp").value_or(QByteArray());
        const QByteArray signedText =
            request.method + '\n' + request.path + '\n' + request.query + '\n' +
            QCryptographicHash::hash(request.body, QCryptographicHash::Sha512).toHex() + '\n' +
            timestamp;
        const QByteArray expected =
            QMessageAuthenticationCode::hash(signedText, secret, QCryptographicHash::Sha512)
                .toHex();
        if (!isWholeSeconds(timestamp) || signature != expected) {
            return LoopbackReply::json(
                401, R"({"label":"INVALID_SIGNATURE","message":"Signature mismatch"})");
        }
        return std::nullopt;
    };
}

}  // namespace vantrell
