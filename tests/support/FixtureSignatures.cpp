#include "support/FixtureSignatures.h"

#include <QCryptographicHash>
#include <QMessageAuthenticationCode>

namespace vantrell {

namespace {

bool hasParameter(const QByteArray& query, const QByteArray& key)
{
    const QByteArray pair = key + '=';
    const QByteArray inner = '&' + pair;
    return query.startsWith(pair) || query.contains(inner);
}

}  // namespace

SignatureCheck FixtureSignatures::none()
{
    return [](const RecordedRequest&) { return std::optional<LoopbackReply>(); };
}

SignatureCheck FixtureSignatures::binance(const QString& apiKey, const QString& secretKey)
{
    const QByteArray key = apiKey.toUtf8();
    const QByteArray secret = secretKey.toUtf8();
    return [key, secret](const RecordedRequest& request) -> std::optional<LoopbackReply> {
        const std::optional<QByteArray> sentKey = request.header("X-MBX-APIKEY");
        if (!sentKey && !hasParameter(request.query, "signature")) {
            return std::nullopt;
        }
        if (sentKey != key) {
            return LoopbackReply::json(
                401, R"({"code":-2015,"msg":"Invalid API-key, IP, or permissions for action."})");
        }
        const QByteArray marker = "&signature=";
        const qsizetype at = request.query.lastIndexOf(marker);
        const QByteArray signedText = at < 0 ? QByteArray() : request.query.left(at);
        const QByteArray signature = at < 0 ? QByteArray() : request.query.mid(at + marker.size());
        const QByteArray expected =
            QMessageAuthenticationCode::hash(signedText, secret, QCryptographicHash::Sha256)
                .toHex();
        if (signature != expected || !hasParameter(signedText, "timestamp") ||
            !hasParameter(signedText, "recvWindow")) {
            return LoopbackReply::json(
                401, R"({"code":-1022,"msg":"Signature for this request is not valid."})");
        }
        return std::nullopt;
    };
}

}  // namespace vantrell
