#pragma once

#include "platform/Notifier.h"

#include <QDBusConnection>

namespace vantrell {

// Posts through the desktop's notification service (org.freedesktop.Notifications) on the
// session bus. Nothing here waits for the service: a post is sent and forgotten, so a missing
// or hung service costs the caller nothing, and the authorisation question is answered on the
// event loop.
class FreedesktopNotifier final : public Notifier {
public:
    static inline const QString service = QStringLiteral("org.freedesktop.Notifications");
    static inline const QString path = QStringLiteral("/org/freedesktop/Notifications");
    static inline const QString interface = QStringLiteral("org.freedesktop.Notifications");
    // How long the authorisation question waits for the service to answer.
    static constexpr int authorizationTimeoutMs = 5000;

    explicit FreedesktopNotifier(QDBusConnection bus = QDBusConnection::sessionBus());

    void post(const QString& title, const QString& body) override;
    // Granted when the notification service answers (running, or started by the bus on
    // demand); refused when it does not or there is no session bus.
    QCoro::Task<bool> requestAuthorization() override;

private:
    QDBusConnection m_bus;
};

}  // namespace vantrell
