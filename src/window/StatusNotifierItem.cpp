#include "window/StatusNotifierItem.h"

#include "window/StatusNotifierItemAdaptor.h"

#include <QCoreApplication>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusPendingCallWatcher>
#include <QDBusServiceWatcher>
#include <QDBusVariant>

namespace vantrell {

StatusNotifierItem::StatusNotifierItem(QDBusConnection bus, QObject* parent)
    : QObject(parent), m_bus(std::move(bus)), m_adaptor(new StatusNotifierItemAdaptor(this))
{
    registerTypes();
}

StatusNotifierItem::~StatusNotifierItem()
{
    if (m_started) {
        m_bus.unregisterService(serviceName());
        m_bus.unregisterObject(objectPath);
    }
}

QString StatusNotifierItem::serviceName()
{
    return QStringLiteral("org.kde.StatusNotifierItem-%1-1")
        .arg(QCoreApplication::applicationPid());
}

// The bus must know the pixmap and tooltip signatures before the item is exported.
void StatusNotifierItem::registerTypes()
{
    static const bool registered = [] {
        qDBusRegisterMetaType<StatusNotifierPixmap>();
        qDBusRegisterMetaType<StatusNotifierPixmaps>();
        qDBusRegisterMetaType<StatusNotifierToolTip>();
        return true;
    }();
    Q_UNUSED(registered);
}

bool StatusNotifierItem::start()
{
    if (m_started) {
        return true;
    }
    if (!m_bus.isConnected() ||
        !m_bus.registerObject(objectPath, this, QDBusConnection::ExportAdaptors)) {
        return false;
    }
    // Asks the bus daemon itself, which always answers at once.
    if (!m_bus.registerService(serviceName())) {
        m_bus.unregisterObject(objectPath);
        return false;
    }
    m_started = true;
    watchWatcher();
    watchHosts();
    offer();
    return true;
}

void StatusNotifierItem::watchWatcher()
{
    m_watcher = new QDBusServiceWatcher(watcherService, m_bus,
                                        QDBusServiceWatcher::WatchForOwnerChange, this);
    connect(m_watcher, &QDBusServiceWatcher::serviceOwnerChanged, this,
            [this](const QString&, const QString&, const QString& newOwner) {
                if (newOwner.isEmpty()) {
                    forgetWatcher();
                } else {
                    offer();
                }
            });
}

// From any sender: the signals only make the item ask the watcher itself again.
void StatusNotifierItem::watchHosts()
{
    for (const char* signal : {"StatusNotifierHostRegistered", "StatusNotifierHostUnregistered"}) {
        m_bus.connect(QString(), watcherPath, watcherService, QString::fromLatin1(signal), this,
                      SLOT(hostChanged()));
    }
}

void StatusNotifierItem::hostChanged()
{
    // Until the offer is answered, the offer's own read is still to come.
    if (m_registered) {
        readHost();
    }
}

// The desktop runs its watcher or has none: a question never starts one.
QDBusPendingCallWatcher* StatusNotifierItem::askWatcher(QDBusMessage call)
{
    call.setAutoStartService(false);
    return new QDBusPendingCallWatcher(m_bus.asyncCall(call, registrationTimeoutMs), this);
}

void StatusNotifierItem::offer()
{
    QDBusMessage call = QDBusMessage::createMethodCall(
        watcherService, watcherPath, watcherService, QStringLiteral("RegisterStatusNotifierItem"));
    call << serviceName();
    QDBusPendingCallWatcher* pending = askWatcher(call);
    const int offer = ++m_offer;
    ++m_read;
    connect(pending, &QDBusPendingCallWatcher::finished, this, [this, pending, offer] {
        pending->deleteLater();
        if (offer != m_offer) {
            return;
        }
        m_registered = !pending->isError();
        if (m_registered) {
            readHost();
        } else {
            Q_EMIT shownChanged(false);
        }
    });
}

void StatusNotifierItem::readHost()
{
    QDBusMessage call = QDBusMessage::createMethodCall(
        watcherService, watcherPath, QStringLiteral("org.freedesktop.DBus.Properties"),
        QStringLiteral("Get"));
    call << watcherService << QStringLiteral("IsStatusNotifierHostRegistered");
    QDBusPendingCallWatcher* pending = askWatcher(call);
    const int read = ++m_read;
    connect(pending, &QDBusPendingCallWatcher::finished, this, [this, pending, read] {
        pending->deleteLater();
        if (read != m_read) {
            return;
        }
        const QVariant value =
            pending->reply().arguments().value(0).value<QDBusVariant>().variant();
        m_hostRegistered = !pending->isError() && value.metaType() == QMetaType::fromType<bool>() &&
                           value.toBool();
        Q_EMIT shownChanged(isShown());
    });
}

void StatusNotifierItem::forgetWatcher()
{
    ++m_offer;
    ++m_read;
    m_registered = false;
    m_hostRegistered = false;
    Q_EMIT shownChanged(false);
}

void StatusNotifierItem::setLabel(const QString& label, const QString& guide)
{
    if (label == m_label && guide == m_labelGuide) {
        return;
    }
    m_label = label;
    m_labelGuide = guide;
    Q_EMIT m_adaptor->XAyatanaNewLabel(m_label, m_labelGuide);
}

void StatusNotifierItem::setToolTip(const QString& text)
{
    if (text == m_toolTip.title) {
        return;
    }
    m_toolTip.title = text;
    Q_EMIT m_adaptor->NewToolTip();
}

void StatusNotifierItem::setIconPixmap(const StatusNotifierPixmaps& pixmaps)
{
    if (pixmaps == m_iconPixmap) {
        return;
    }
    m_iconPixmap = pixmaps;
    Q_EMIT m_adaptor->NewIcon();
}

}  // namespace vantrell
