#pragma once

#include "window/StatusNotifierPixmap.h"
#include "window/StatusNotifierToolTip.h"

#include <QDBusConnection>
#include <QObject>
#include <QPoint>
#include <QString>

class QDBusMessage;
class QDBusPendingCallWatcher;
class QDBusServiceWatcher;

namespace vantrell {

class StatusNotifierItemAdaptor;

// A tray item published over D-Bus as a StatusNotifierItem, for hosts that show a text label
// beside the icon. It owns the name org.kde.StatusNotifierItem-<pid>-1 with the item at
// /StatusNotifierItem and offers it to the desktop's StatusNotifierWatcher; when the watcher
// goes and comes back (a restart of the desktop shell) the item is offered again. A watcher can
// run with no host to draw its items (under a panel that shows only XEmbed icons), so the item
// counts as shown only while the watcher also says a host is there. Nothing here waits for the
// watcher, and nothing starts one: its answers arrive on the event loop.
class StatusNotifierItem : public QObject {
    Q_OBJECT

public:
    static inline const QString watcherService = QStringLiteral("org.kde.StatusNotifierWatcher");
    static inline const QString watcherPath = QStringLiteral("/StatusNotifierWatcher");
    static inline const QString objectPath = QStringLiteral("/StatusNotifierItem");
    // How long a question to the watcher waits for its answer before it counts as refused.
    static constexpr int registrationTimeoutMs = 5000;

    explicit StatusNotifierItem(QDBusConnection bus = QDBusConnection::sessionBus(),
                                QObject* parent = nullptr);
    ~StatusNotifierItem() override;

    static QString serviceName();

    // Puts the item on the bus and offers it to the watcher. False when there is no bus or the
    // name is taken: then the item can never be shown.
    bool start();
    // The watcher accepted the item and is still there.
    bool isRegistered() const { return m_registered; }
    // Registered, and the watcher says a host shows its items.
    bool isShown() const { return m_registered && m_hostRegistered; }

    void setLabel(const QString& label, const QString& guide);
    void setToolTip(const QString& text);
    void setIconPixmap(const StatusNotifierPixmaps& pixmaps);

    const QString& label() const { return m_label; }
    const QString& labelGuide() const { return m_labelGuide; }
    const StatusNotifierToolTip& toolTip() const { return m_toolTip; }
    const StatusNotifierPixmaps& iconPixmap() const { return m_iconPixmap; }

Q_SIGNALS:
    // After every answer of the watcher, and when the watcher leaves the bus: isShown().
    void shownChanged(bool shown);
    // The host's click, at its position on the screen.
    void activated(QPoint position);

private Q_SLOTS:
    void hostChanged();

private:
    static void registerTypes();
    void watchWatcher();
    void watchHosts();
    QDBusPendingCallWatcher* askWatcher(QDBusMessage call);
    void offer();
    void readHost();
    void forgetWatcher();

    QDBusConnection m_bus;
    StatusNotifierItemAdaptor* m_adaptor;
    QDBusServiceWatcher* m_watcher = nullptr;
    QString m_label;
    QString m_labelGuide;
    StatusNotifierToolTip m_toolTip;
    StatusNotifierPixmaps m_iconPixmap;
    bool m_started = false;
    bool m_registered = false;
    bool m_hostRegistered = false;
    // Only the answer to the latest offer, and to the latest read of the host state, counts.
    int m_offer = 0;
    int m_read = 0;
};

}  // namespace vantrell
