#include "providers/common/RequestSigner.h"

#include <QCryptographicHash>
#include <QMessageAuthenticationCode>

namespace vantrell {

namespace {

QByteArray mac(QCryptographicHash::Algorithm algorithm, const QByteArray& key,
               const QByteArray& message)
{
    return QMessageAuthenticationCode::hash(message, key, algorithm);
}

}  // namespace

QString RequestSigner::hmacSha256Hex(const QByteArray& key, const QByteArray& message)
{
    return QString::fromLatin1(mac(QCryptographicHash::Sha256, key, message).toHex());
}

QString RequestSigner::hmacSha256Base64(const QByteArray& key, const QByteArray& message)
{
    return QString::fromLatin1(mac(QCryptographicHash::Sha256, key, message).toBase64());
}

QString RequestSigner::hmacSha512Hex(const QByteArray& key, const QByteArray& message)
{
    return QString::fromLatin1(mac(QCryptographicHash::Sha512, key, message).toHex());
}

QString RequestSigner::sha512Hex(const QByteArray& body)
{
    return QString::fromLatin1(QCryptographicHash::hash(body, QCryptographicHash::Sha512).toHex());
}

}  // namespace vantrell
