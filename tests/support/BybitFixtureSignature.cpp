#include "support/BybitFixtureSignature.h"

#include <QCryptographicHash>
#include <QMessageAuthenticationCode>

#include <algorithm>

namespace vantrell {

namespace {

bool isSigned(const RecordedRequest& request)
{
    return std::any_of(request.headers.cbegin(), request.headers.cend(), [](const auto& header) {
        return header.first.toUpper().startsWith("X-BAPI-");
    });
}

bool isMilliseconds(const QByteArray& text)
{
    return text.size() == 13 &&
           std::all_of(text.cbegin(), text.cend(), [](char c) { return c >= '0' && c <= '9'; });
}

LoopbackReply refusal(int retCode, const QByteArray& retMsg)
{
    return LoopbackReply::json(401, R"({"retCode":)" + QByteArray::number(retCode) +
                                        R"(,"retMsg":")" + retMsg +
                                        R"(","result":{},"retExtInfo":{},"time":1700000000000})");
}

}  // namespace

SignatureCheck bybitFixtureSignature(const QString& apiKey, const QString& secretKey)
{
    const QByteArray key = apiKey.toUtf8();
    const QByteArray secret = secretKey.toUtf8();
    return [key, secret](const RecordedRequest& request) -> std::optional<LoopbackReply> {
        if (!isSigned(request)) {
            return std::nullopt;
        }
        if (request.header("X-BAPI-API-KEY") != key) {
            return refusal(10003, "API key is invalid.");
        }
        const QByteArray timestamp = request.header("X-BAPI-TIMESTAMP").value_or(QByteArray());
        const std::optional<QByteArray> window = request.header("X-BAPI-RECV-WINDOW");
        const QByteArray expected =
            QMessageAuthenticationCode::hash(
                timestamp + key + window.value_or(QByteArray()) + request.query, secret,
                QCryptographicHash::Sha256)
                .toHex();
        if (!isMilliseconds(timestamp) || !window || request.header("X-BAPI-SIGN") != expected) {
            return refusal(10004, "error sign! origin_string does not match");
        }
        return std::nullopt;
    };
}

}  // namespace vantrell
