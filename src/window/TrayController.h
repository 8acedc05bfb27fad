#pragma once

#include <QObject>
#include <QString>

#include <optional>

class QSystemTrayIcon;
class QTimer;

namespace vantrell {

class AppSettings;
class PortfolioStore;

// The tray item: the program's mark with the menu-bar title, and a click that opens or closes
// the popover. The title follows every change it depends on (the data, the change figures, the
// display mode, period and currency, the rates). Where the tray host gives the item a wide
// slot the image shows the mark and the title; most hosts fit icons into a square, so there
// the image is the mark alone. The tooltip always carries the title.
class TrayController : public QObject {
    Q_OBJECT

public:
    // The store and settings must outlive the controller. The item is shown at once.
    TrayController(PortfolioStore& store, AppSettings& settings, QObject* parent = nullptr);
    ~TrayController() override;

    // What the label shows now; nothing in the icon-only mode.
    const std::optional<QString>& title() const { return m_title; }
    QString toolTip() const;
    QSystemTrayIcon* icon() const { return m_icon; }

    // The tooltip for a title.
    static QString toolTipFor(const std::optional<QString>& title);

Q_SIGNALS:
    // The user clicked the item: the popover opens or closes.
    void activated();

private:
    void observe();
    void scheduleRefresh();
    void refreshLabel();
    bool hostShowsWideIcons() const;

    PortfolioStore& m_store;
    AppSettings& m_settings;
    QSystemTrayIcon* m_icon;
    QTimer* m_refreshTimer;
    std::optional<QString> m_title;
    bool m_drawnWide = false;
    bool m_drawn = false;
};

}  // namespace vantrell
