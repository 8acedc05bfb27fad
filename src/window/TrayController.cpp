#include "window/TrayController.h"

#include "settings/AppSettings.h"
#include "store/PortfolioStore.h"
#include "window/MenuBarLabelGuide.h"
#include "window/MenuBarLabelRenderer.h"
#include "window/StatusNotifierAnchor.h"
#include "window/StatusNotifierItem.h"

#include <QApplication>
#include <QPalette>
#include <QPixmap>
#include <QScreen>
#include <QSystemTrayIcon>
#include <QTimer>

#include <vector>

namespace vantrell {

namespace {

constexpr int markSides[] = {16, 22, 32, 48};

// The ink follows the desktop's own look, not the program's appearance setting.
QColor trayInk()
{
    return QApplication::palette().color(QPalette::WindowText);
}

std::vector<StatusNotifierAnchor::Screen> desktopScreens()
{
    std::vector<StatusNotifierAnchor::Screen> screens;
    for (const QScreen* screen : QGuiApplication::screens()) {
        screens.push_back({screen->geometry(), screen->devicePixelRatio()});
    }
    return screens;
}

}  // namespace

TrayController::TrayController(PortfolioStore& store, AppSettings& settings, QDBusConnection bus,
                               QObject* parent)
    : QObject(parent),
      m_store(store),
      m_settings(settings),
      m_icon(new QSystemTrayIcon(this)),
      m_item(new StatusNotifierItem(std::move(bus), this)),
      m_refreshTimer(new QTimer(this))
{
    m_icon->setObjectName(QStringLiteral("trayIcon"));
    m_item->setObjectName(QStringLiteral("statusNotifierItem"));
    m_refreshTimer->setSingleShot(true);
    m_refreshTimer->setInterval(0);
    connect(m_refreshTimer, &QTimer::timeout, this, &TrayController::refreshLabel);
    connectItems();
    observe();
    refreshLabel();
    if (!m_item->start()) {
        showItem(false);
    }
}

TrayController::~TrayController() = default;

void TrayController::connectItems()
{
    connect(m_icon, &QSystemTrayIcon::activated, this,
            [this](QSystemTrayIcon::ActivationReason reason) {
                if (reason == QSystemTrayIcon::Trigger || reason == QSystemTrayIcon::DoubleClick) {
                    Q_EMIT activated(m_icon->geometry());
                }
            });
    // The host names the click's position in device pixels: the popover opens under that pixel.
    connect(m_item, &StatusNotifierItem::activated, this, [this](QPoint position) {
        Q_EMIT activated(StatusNotifierAnchor::anchor(position, desktopScreens()));
    });
    connect(m_item, &StatusNotifierItem::shownChanged, this, &TrayController::showItem);
}

QString TrayController::toolTip() const
{
    return toolTipFor(m_title);
}

QString TrayController::toolTipFor(const std::optional<QString>& title)
{
    return title ? QStringLiteral("Vantrell  ") + *title : QStringLiteral("Vantrell");
}

void TrayController::observe()
{
    PortfolioStore* store = &m_store;
    for (auto signal :
         {&PortfolioStore::snapshotChanged, &PortfolioStore::twentyFourHourPnLChanged,
          &PortfolioStore::twentyFourHourChangePercentChanged, &PortfolioStore::todayPnLChanged,
          &PortfolioStore::todayChangePercentChanged}) {
        connect(store, signal, this, &TrayController::scheduleRefresh);
    }
    AppSettings* settings = &m_settings;
    for (auto signal :
         {&AppSettings::menuBarDisplayModeChanged, &AppSettings::performancePeriodChanged,
          &AppSettings::displayCurrencyChanged, &AppSettings::currencyRatesChanged}) {
        connect(settings, signal, this, &TrayController::scheduleRefresh);
    }
}

void TrayController::scheduleRefresh()
{
    m_refreshTimer->start();
}

void TrayController::refreshLabel()
{
    const MenuBarDisplayMode mode = m_settings.menuBarDisplayMode();
    m_title = m_store.menuBarTitle(mode, m_settings);
    // Only the total-with-change guide needs the total on its own.
    const QString total =
        mode == MenuBarDisplayMode::totalWithChange
            ? m_store.menuBarTitle(MenuBarDisplayMode::total, m_settings).value_or(QString())
            : QString();
    m_item->setLabel(m_title.value_or(QString()), MenuBarLabelGuide::guide(mode, m_title, total));
    m_item->setToolTip(toolTip());
    refreshIconImage();
}

void TrayController::refreshIconImage()
{
    const QColor ink = trayInk();
    refreshMark(ink);
    const bool wide = hostShowsWideIcons();
    if (m_drawn && m_title == m_drawnTitle && wide == m_drawnWide) {
        return;
    }
    m_drawnTitle = m_title;
    m_drawn = true;
    m_drawnWide = wide;
    const QScreen* screen = QGuiApplication::primaryScreen();
    const qreal ratio = screen != nullptr ? screen->devicePixelRatio() : 1.0;
    const QImage image = MenuBarLabelRenderer::render(wide ? m_title : std::nullopt, ink, ratio);
    m_icon->setIcon(QIcon(QPixmap::fromImage(image)));
    m_icon->setToolTip(toolTip());
}

// The label item carries the title as text, so its icon is the mark alone.
void TrayController::refreshMark(const QColor& ink)
{
    if (ink == m_markInk && !m_item->iconPixmap().isEmpty()) {
        return;
    }
    m_markInk = ink;
    StatusNotifierPixmaps pixmaps;
    for (int side : markSides) {
        pixmaps.append(
            StatusNotifierPixmap::fromImage(MenuBarLabelRenderer::squareMark(side, ink)));
    }
    m_item->setIconPixmap(pixmaps);
}

// Where a watcher with a host was there at start, Qt's own tray icon is itself a
// StatusNotifierItem: shown while the watcher restarts, it would join ours as a second item once
// the watcher is back, so on such a desktop it never stands in. Elsewhere it is an XEmbed icon,
// shown whenever our item is not. The first answer tells which desktop this is.
void TrayController::showItem(bool statusNotifierShown)
{
    if (!m_iconMayStandIn) {
        m_iconMayStandIn = !statusNotifierShown;
    }
    m_icon->setVisible(!statusNotifierShown && *m_iconMayStandIn);
}

// A host that hands the item a slot at least twice as wide as high shows a wide image; the
// others scale it into a square, where the title would be unreadable.
bool TrayController::hostShowsWideIcons() const
{
    const QRect slot = m_icon->geometry();
    return slot.isValid() && slot.height() > 0 && slot.width() >= 2 * slot.height();
}

}  // namespace vantrell
