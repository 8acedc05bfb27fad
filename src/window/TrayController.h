#pragma once

#include <QColor>
#include <QDBusConnection>
#include <QObject>
#include <QRect>
#include <QString>

#include <optional>

class QSystemTrayIcon;
class QTimer;

namespace vantrell {

class AppSettings;
class PortfolioStore;
class StatusNotifierItem;

// The tray item: the program's mark with the menu-bar title, and a click that opens or closes
// the popover. The title follows every change it depends on (the data, the change figures, the
// display mode, period and currency, the rates).
//
// Where the desktop runs a StatusNotifierWatcher with a host the item is our own
// StatusNotifierItem, whose label carries the title for hosts that show labels; elsewhere (an
// XEmbed tray, also under a watcher no host has registered with) it is a
// QSystemTrayIcon whose image shows the title only where the host gives it a wide slot. One of
// the two is shown at a time, and the tooltip always carries the title.
class TrayController : public QObject {
    Q_OBJECT

public:
    // The store and settings must outlive the controller. The item appears at once when `bus`
    // is not connected, otherwise as soon as the watcher has answered (or is known to be absent).
    TrayController(PortfolioStore& store, AppSettings& settings,
                   QDBusConnection bus = QDBusConnection::sessionBus(), QObject* parent = nullptr);
    ~TrayController() override;

    // What the label shows now; nothing in the icon-only mode.
    const std::optional<QString>& title() const { return m_title; }
    QString toolTip() const;
    QSystemTrayIcon* icon() const { return m_icon; }
    StatusNotifierItem* statusNotifierItem() const { return m_item; }

    // The tooltip for a title.
    static QString toolTipFor(const std::optional<QString>& title);

Q_SIGNALS:
    // The user clicked the item: the popover opens or closes under `anchor`, the item's place on
    // the screen (invalid when the host does not tell).
    void activated(const QRect& anchor);

private:
    void connectItems();
    void observe();
    void scheduleRefresh();
    void refreshLabel();
    void refreshIconImage();
    void refreshMark(const QColor& ink);
    void showItem(bool statusNotifierShown);
    bool hostShowsWideIcons() const;

    PortfolioStore& m_store;
    AppSettings& m_settings;
    QSystemTrayIcon* m_icon;
    StatusNotifierItem* m_item;
    QTimer* m_refreshTimer;
    std::optional<QString> m_title;
    std::optional<QString> m_drawnTitle;
    QColor m_markInk;
    bool m_drawnWide = false;
    bool m_drawn = false;
    // Whether the QSystemTrayIcon may stand in while no host shows our item; see showItem().
    std::optional<bool> m_iconMayStandIn;
};

}  // namespace vantrell
