#pragma once

#include <QString>
#include <QUrl>

#include <optional>

namespace vantrell {

// The one rule for addresses that come from outside (feeds, the referral document) before the
// program fetches or opens them: https only, with a host, and without any user name or
// password, not even an empty one ("https://@host").
class SecureAddress {
public:
    // The address, or nothing when the text breaks the rule or does not parse strictly.
    static std::optional<QUrl> parse(const QString& text);

    static bool isSecure(const QUrl& url);

private:
    // Whether the authority part of the text (between "//" and the path, query or fragment)
    // carries the user-information separator '@'. QUrl drops an empty user name, so the text
    // itself is inspected.
    static bool hasUserInfoMarker(QStringView text);
};

}  // namespace vantrell
