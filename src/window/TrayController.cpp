#include "window/TrayController.h"

#include "settings/AppSettings.h"
#include "store/PortfolioStore.h"
#include "window/MenuBarLabelRenderer.h"

#include <QApplication>
#include <QPalette>
#include <QPixmap>
#include <QScreen>
#include <QSystemTrayIcon>
#include <QTimer>

namespace vantrell {

TrayController::TrayController(PortfolioStore& store, AppSettings& settings, QObject* parent)
    : QObject(parent),
      m_store(store),
      m_settings(settings),
      m_icon(new QSystemTrayIcon(this)),
      m_refreshTimer(new QTimer(this))
{
    m_icon->setObjectName(QStringLiteral("trayIcon"));
    m_refreshTimer->setSingleShot(true);
    m_refreshTimer->setInterval(0);
    connect(m_refreshTimer, &QTimer::timeout, this, &TrayController::refreshLabel);
    connect(m_icon, &QSystemTrayIcon::activated, this,
            [this](QSystemTrayIcon::ActivationReason reason) {
                if (reason == QSystemTrayIcon::Trigger || reason == QSystemTrayIcon::DoubleClick) {
                    Q_EMIT activated();
                }
            });
    observe();
    refreshLabel();
    m_icon->show();
}

TrayController::~TrayController() = default;

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
    const std::optional<QString> title =
        m_store.menuBarTitle(m_settings.menuBarDisplayMode(), m_settings);
    const bool wide = hostShowsWideIcons();
    if (m_drawn && title == m_title && wide == m_drawnWide) {
        return;
    }
    m_title = title;
    m_drawn = true;
    m_drawnWide = wide;
    const QScreen* screen = QGuiApplication::primaryScreen();
    const qreal ratio = screen != nullptr ? screen->devicePixelRatio() : 1.0;
    // The ink follows the desktop's own look, not the program's appearance setting.
    const QColor ink = QApplication::palette().color(QPalette::WindowText);
    const QImage image = MenuBarLabelRenderer::render(wide ? m_title : std::nullopt, ink, ratio);
    m_icon->setIcon(QIcon(QPixmap::fromImage(image)));
    m_icon->setToolTip(toolTip());
}

// A host that hands the item a slot at least twice as wide as high shows a wide image; the
// others scale it into a square, where the title would be unreadable.
bool TrayController::hostShowsWideIcons() const
{
    const QRect slot = m_icon->geometry();
    return slot.isValid() && slot.height() > 0 && slot.width() >= 2 * slot.height();
}

}  // namespace vantrell
