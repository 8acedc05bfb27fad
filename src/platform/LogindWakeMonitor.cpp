#include "platform/LogindWakeMonitor.h"

#include <QDBusConnection>

namespace vantrell {

LogindWakeMonitor::LogindWakeMonitor(QObject* parent) : WakeMonitor(parent)
{
    QDBusConnection bus = QDBusConnection::systemBus();
    if (!bus.isConnected()) {
        return;
    }
    m_listening = bus.connect(QStringLiteral("org.freedesktop.login1"),
                              QStringLiteral("/org/freedesktop/login1"),
                              QStringLiteral("org.freedesktop.login1.Manager"),
                              QStringLiteral("PrepareForSleep"), this, SLOT(prepareForSleep(bool)));
}

void LogindWakeMonitor::prepareForSleep(bool goingToSleep)
{
    if (!goingToSleep) {
        Q_EMIT woke();
    }
}

}  // namespace vantrell
