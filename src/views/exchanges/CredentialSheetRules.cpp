#include "views/exchanges/CredentialSheetRules.h"

#include "security/CredentialField.h"

#include <QTextBoundaryFinder>

namespace vantrell::CredentialSheetRules {

QString title(Exchange exchange)
{
    return QStringLiteral("添加 ") + toStored(exchange);
}

QString failureMessage(const QString& testMessage)
{
    return QStringLiteral("验证失败：") + testMessage;
}

QString trimmed(const QString& text)
{
    return text.trimmed();
}

bool credentialsComplete(Exchange exchange, const QString& apiKey, const QString& secretKey,
                         const QString& passphrase)
{
    if (trimmed(apiKey).isEmpty() || trimmed(secretKey).isEmpty()) {
        return false;
    }
    return !credentialFields(exchange).passphrase || !passphrase.isEmpty();
}

QString normalizedAlias(const QString& alias)
{
    const QString text = trimmed(alias);
    if (text.isEmpty()) {
        return emptyAlias.toString();
    }
    QTextBoundaryFinder graphemes(QTextBoundaryFinder::Grapheme, text);
    int kept = 0;
    while (kept < aliasLength && graphemes.toNextBoundary() != -1) {
        ++kept;
    }
    const qsizetype end = graphemes.position() < 0 ? text.size() : graphemes.position();
    return text.left(end);
}

}  // namespace vantrell::CredentialSheetRules
