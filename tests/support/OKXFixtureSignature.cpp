#include "support/OKXFixtureSignature.h"

#include <QCryptographicHash>
#include <QDateTime>
#include <QMessageAuthenticationCode>

namespace vantrell {

namespace {

bool isSigned(const RecordedRequest& request)
{
    for (const RecordedRequest::Header& header : request.headers) {
        if (header.first.toUpper().startsWith("OK-ACCESS-")) {
            return true;
        }
    }
    return false;
}

bool isUtcMillisecondTime(const QByteArray& text)
{
    const QDateTime time = QDateTime::fromString(QString::fromLatin1(text), Qt::ISODateWithMs);
    return text.size() == 24 && text.endsWith('Z') && time.isValid() && time.timeSpec() == Qt::UTC;
}

LoopbackReply refusal(const char* body)
{
    return LoopbackReply::json(401, body);
}

}  // namespace

SignatureCheck okxFixtureSignature(const QString& apiKey, const QString& secretKey,
                                   const QString& passphrase)
{
    const QByteArray key = apiKey.toUtf8();
    const QByteArray secret = secretKey.toUtf8();
    const QByteArray phrase = passphrase.toUtf8();
    return [key, secret, phrase](const RecordedRequest& request) -> std::optional<LoopbackReply> {
        if (!isSigned(request)) {
            return std::nullopt;
        }
        if (request.header("OK-ACCESS-KEY") != key) {
            return refusal(R"({"msg":"Invalid OK-ACCESS-KEY","code":"50111"})");
        }
        if (request.header("OK-ACCESS-PASSPHRASE") != phrase) {
            return refusal(R"({"msg":"OK-ACCESS-PASSPHRASE incorrect","code":"50105"})");
        }
        const QByteArray timestamp = request.header("OK-ACCESS-TIMESTAMP").value_or(QByteArray());
        if (!isUtcMillisecondTime(timestamp)) {
            return refusal(R"({"msg":"Invalid OK-ACCESS-TIMESTAMP","code":"50112"})");
        }
        QByteArray prehash = timestamp + request.method + request.path;
        if (!request.query.isEmpty()) {
            prehash += '?' + request.query;
        }
        const QByteArray expected =
            QMessageAuthenticationCode::hash(prehash, secret, QCryptographicHash::Sha256)
                .toBase64();
        if (request.header("OK-ACCESS-SIGN") != expected) {
            return refusal(R"({"msg":"Invalid Sign","code":"50113"})");
        }
        return std::nullopt;
    };
}

}  // namespace vantrell
