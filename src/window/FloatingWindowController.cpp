#include "window/FloatingWindowController.h"

#include "platform/DefaultsStore.h"
#include "settings/AppSettings.h"
#include "views/floating/FloatingPortfolioView.h"
#include "views/kit/WindowAppearanceBridge.h"
#include "window/FloatingPanel.h"
#include "window/FloatingPanelGeometry.h"

#include <QGuiApplication>
#include <QScreen>
#include <QTimer>

namespace vantrell {

namespace {
constexpr int saveDelayMs = 200;  // one write per burst of moves
}

FloatingWindowController::FloatingWindowController(DefaultsStore& frameStore, QObject* parent)
    : FloatingPanelSwitch(parent), m_frameStore(frameStore), m_saveTimer(new QTimer(this))
{
    m_saveTimer->setSingleShot(true);
    m_saveTimer->setInterval(saveDelayMs);
    connect(m_saveTimer, &QTimer::timeout, this, &FloatingWindowController::saveFrame);
}

FloatingWindowController::~FloatingWindowController()
{
    delete m_panel.data();
}

FloatingPanel* FloatingWindowController::panel() const
{
    return m_panel;
}

std::optional<QRect> FloatingWindowController::screenAreaOf(const QWidget* widget)
{
    QScreen* screen = widget != nullptr ? widget->screen() : nullptr;
    if (screen == nullptr) {
        screen = QGuiApplication::primaryScreen();
    }
    return screen != nullptr ? std::optional(screen->availableGeometry()) : std::nullopt;
}

void FloatingWindowController::toggle(PortfolioStore& store, AppSettings& settings)
{
    if (m_isVisible) {
        hide();
    } else {
        show(store, settings);
    }
}

void FloatingWindowController::hide()
{
    if (m_panel) {
        m_panel->hide();
    }
    setVisible(false);
}

void FloatingWindowController::show(PortfolioStore& store, AppSettings& settings)
{
    if (!m_panel) {
        createPanel(store, settings);
    }
    m_panel->present();
    setVisible(true);
}

void FloatingWindowController::createPanel(PortfolioStore& store, AppSettings& settings)
{
    auto* view = new FloatingPortfolioView(store, settings);
    connect(view, &FloatingPortfolioView::closeRequested, this, &FloatingWindowController::hide);
    m_panel = new FloatingPanel(view);
    m_settings = &settings;
    WindowAppearanceBridge::apply(m_panel, settings.appearance());
    configure(settings.floatingStyle());
    m_panel->setLocked(settings.isFloatingLocked());
    restoreFrame();
    connect(m_panel, &FloatingPanel::frameChanged, m_saveTimer, qOverload<>(&QTimer::start));
    subscribe(settings);
}

void FloatingWindowController::subscribe(AppSettings& settings)
{
    const auto style = [this] {
        if (m_settings && m_deliveredStyle != m_settings->floatingStyle()) {
            m_deliveredStyle = m_settings->floatingStyle();
            configure(*m_deliveredStyle);
        }
    };
    const auto lock = [this] {
        if (m_settings && m_deliveredLock != m_settings->isFloatingLocked()) {
            m_deliveredLock = m_settings->isFloatingLocked();
            applyLock(*m_deliveredLock);
        }
    };
    const auto appearance = [this] {
        if (m_settings && m_deliveredAppearance != m_settings->appearance()) {
            m_deliveredAppearance = m_settings->appearance();
            applyAppearance(*m_deliveredAppearance);
        }
    };
    connect(&settings, &AppSettings::floatingStyleChanged, this, style, Qt::QueuedConnection);
    connect(&settings, &AppSettings::isFloatingLockedChanged, this, lock, Qt::QueuedConnection);
    connect(&settings, &AppSettings::appearanceChanged, this, appearance, Qt::QueuedConnection);
    // A subscription delivers the current value once, after the panel was made.
    QMetaObject::invokeMethod(this, style, Qt::QueuedConnection);
    QMetaObject::invokeMethod(this, lock, Qt::QueuedConnection);
    QMetaObject::invokeMethod(this, appearance, Qt::QueuedConnection);
}

void FloatingWindowController::configure(FloatingDisplayStyle style)
{
    if (!m_panel) {
        return;
    }
    ++m_configureCount;
    const QRect current = m_panel->geometry();
    m_panel->applyStyleMetrics(FloatingPanelGeometry::metrics(style));
    m_panel->setGeometry(FloatingPanelGeometry::configured(current, style, m_screenArea(m_panel)));
}

void FloatingWindowController::applyLock(bool locked)
{
    if (m_panel) {
        ++m_lockCount;
        m_panel->setLocked(locked);
    }
}

void FloatingWindowController::applyAppearance(AppearanceMode mode)
{
    if (m_panel) {
        ++m_appearanceCount;
        WindowAppearanceBridge::apply(m_panel, mode);
    }
}

void FloatingWindowController::restoreFrame()
{
    const std::optional<QRect> saved = FloatingPanelGeometry::decodeFrame(
        m_frameStore.value(FloatingPanelGeometry::autosaveKey).toString());
    if (saved) {
        m_panel->setGeometry(*saved);
        return;
    }
    m_panel->setGeometry(FloatingPanelGeometry::topRightDefault(
        m_panel->size(), m_screenArea(m_panel), QRect(QPoint(0, 0), m_panel->size())));
}

void FloatingWindowController::saveFrame()
{
    if (m_panel) {
        m_frameStore.setValue(FloatingPanelGeometry::autosaveKey,
                              FloatingPanelGeometry::encodeFrame(m_panel->geometry()));
    }
}

void FloatingWindowController::setVisible(bool visible)
{
    if (m_isVisible != visible) {
        m_isVisible = visible;
        Q_EMIT isVisibleChanged();
    }
}

}  // namespace vantrell
