#include "platform/FreedesktopNotifier.h"

#include <QCoroSignal>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QStringList>
#include <QVariantMap>

#include <memory>

namespace vantrell {

FreedesktopNotifier::FreedesktopNotifier(QDBusConnection bus) : m_bus(std::move(bus)) {}

void FreedesktopNotifier::post(const QString& title, const QString& body)
{
    if (!m_bus.isConnected()) {
        return;
    }
    QDBusMessage message =
        QDBusMessage::createMethodCall(service, path, interface, QStringLiteral("Notify"));
    const QVariantMap hints{{QStringLiteral("sound-name"), QStringLiteral("message-new-instant")}};
    // No id to replace (0): every post is a notification of its own; -1 lets the desktop
    // decide how long it stays.
    message << QStringLiteral("Vantrell") << 0U << QString() << title << body << QStringList()
            << hints << -1;
    // The reply (the notification's id, or an error when no service runs) is not needed.
    m_bus.send(message);
}

QCoro::Task<bool> FreedesktopNotifier::requestAuthorization()
{
    if (!m_bus.isConnected()) {
        co_return false;
    }
    const QDBusMessage message = QDBusMessage::createMethodCall(
        service, path, interface, QStringLiteral("GetServerInformation"));
    const auto watcher =
        std::make_unique<QDBusPendingCallWatcher>(m_bus.asyncCall(message, authorizationTimeoutMs));
    if (!watcher->isFinished()) {
        co_await qCoro(watcher.get(), &QDBusPendingCallWatcher::finished);
    }
    co_return !watcher->isError();
}

}  // namespace vantrell
