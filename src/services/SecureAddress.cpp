#include "services/SecureAddress.h"

namespace vantrell {

std::optional<QUrl> SecureAddress::parse(const QString& text)
{
    const QUrl url(text, QUrl::StrictMode);
    if (!isSecure(url) || hasUserInfoMarker(text)) {
        return std::nullopt;
    }
    return url;
}

bool SecureAddress::isSecure(const QUrl& url)
{
    return url.isValid() && url.scheme().compare(u"https", Qt::CaseInsensitive) == 0 &&
           !url.host().isEmpty() && url.userInfo().isEmpty() &&
           !hasUserInfoMarker(url.toString(QUrl::FullyEncoded));
}

bool SecureAddress::hasUserInfoMarker(QStringView text)
{
    const qsizetype start = text.indexOf(u"//");
    if (start < 0) {
        return false;
    }
    QStringView authority = text.mid(start + 2);
    for (const QChar end : {u'/', u'?', u'#'}) {
        const qsizetype at = authority.indexOf(end);
        if (at >= 0) {
            authority = authority.left(at);
        }
    }
    return authority.contains(u'@');
}

}  // namespace vantrell
