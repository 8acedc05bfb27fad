#include "support/BitgetFixtureSignature.h"

#include <QCryptographicHash>
#include <QMessageAuthenticationCode>

#include <algorithm>

namespace vantrell {

namespace {

LoopbackReply refusal(const char* code, const char* message)
{
    return LoopbackReply::json(401, QByteArray(R"({"code":")") + code + R"(","msg":")" + message +
                                        R"(","requestTime":1700000000000,"data":null})");
}

bool isMilliseconds(const QByteArray& text)
{
    return text.size() == 13 &&
           std::all_of(text.cbegin(), text.cend(), [](char c) { return c >= '0' && c <= '9'; });
}

}  // namespace

SignatureCheck bitgetFixtureSignature(const QString& apiKey, const QString& secretKey,
                                      const QString& passphrase)
{
    const QByteArray key = apiKey.toUtf8();
    const QByteArray secret = secretKey.toUtf8();
    const QByteArray pass = passphrase.toUtf8();
    return [key, secret, pass](const RecordedRequest& request) -> std::optional<LoopbackReply> {
        const std::optional<QByteArray> sentKey = request.header("ACCESS-KEY");
        const std::optional<QByteArray> sentSign = request.header("ACCESS-SIGN");
        if (!sentKey && !sentSign) {
            return std::nullopt;
        }
        if (sentKey != key) {
            return refusal("40006", "Invalid ACCESS_KEY");
        }
        if (request.header("ACCESS-PASSPHRASE") != pass) {
            return refusal("40011", "Invalid ACCESS_PASSPHRASE");
        }
        const QByteArray timestamp = request.header("ACCESS-TIMESTAMP").value_or(QByteArray());
        if (!isMilliseconds(timestamp)) {
            return refusal("40005", "Invalid ACCESS_TIMESTAMP");
        }
        QByteArray signedText = timestamp + request.method + request.path;
        if (!request.query.isEmpty()) {
            signedText += '?' + request.query;
        }
        signedText += request.body;
        const QByteArray expected =
            QMessageAuthenticationCode::hash(signedText, secret, QCryptographicHash::Sha256)
                .toBase64();
        if (sentSign != expected) {
            return refusal("40009", "sign signature error");
        }
        return std::nullopt;
    };
}

}  // namespace vantrell
