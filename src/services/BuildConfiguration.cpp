#include "services/BuildConfiguration.h"

#include "services/SecureAddress.h"

#include <QCoreApplication>

#ifndef VANTRELL_VERSION
#error "VANTRELL_VERSION is defined by the build"
#endif
#ifndef VANTRELL_UPDATE_FEED_URL
#define VANTRELL_UPDATE_FEED_URL ""
#endif
#ifndef VANTRELL_REFERRAL_HOST
#define VANTRELL_REFERRAL_HOST ""
#endif

namespace vantrell {

QString BuildConfiguration::version()
{
    return QStringLiteral(VANTRELL_VERSION);
}

QUrl BuildConfiguration::updateFeedURL()
{
    return SecureAddress::parse(QStringLiteral(VANTRELL_UPDATE_FEED_URL)).value_or(QUrl());
}

QUrl BuildConfiguration::referralEndpoint()
{
    const QString host = QStringLiteral(VANTRELL_REFERRAL_HOST);
    if (host.isEmpty()) {
        return {};
    }
    QUrl url;
    url.setScheme(QStringLiteral("https"));
    url.setHost(host, QUrl::StrictMode);
    url.setPath(QStringLiteral("/vantrell-config/referrals.json"));
    return SecureAddress::isSecure(url) ? url : QUrl();
}

QString runningApplicationVersion()
{
    const QString version = QCoreApplication::applicationVersion();
    return version.isEmpty() ? QStringLiteral("0.1.0") : version;
}

}  // namespace vantrell
