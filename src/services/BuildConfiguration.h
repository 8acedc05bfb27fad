#pragma once

#include <QString>
#include <QUrl>

namespace vantrell {

// Values fixed when the program is built (CMake cache variables), read nowhere else. There is
// no run-time configuration: an empty address leaves its service switched off.
class BuildConfiguration {
public:
    // The project version, for the application object to publish as its version.
    static QString version();

    // The update feed, or an empty URL when none was configured or the configured one is not a
    // plain https address.
    static QUrl updateFeedURL();

    // The referral configuration document on the configured host, or an empty URL when no
    // usable host was configured.
    static QUrl referralEndpoint();
};

// The version the running program reports: the application object's version, or "0.1.0" when
// it has none.
QString runningApplicationVersion();

}  // namespace vantrell
