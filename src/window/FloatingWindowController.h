#pragma once

#include "settings/AppearanceMode.h"
#include "settings/FloatingDisplayStyle.h"
#include "views/popover/FloatingPanelSwitch.h"

#include <QObject>
#include <QPointer>
#include <QRect>

#include <functional>
#include <optional>

class QTimer;
class QWidget;

namespace vantrell {

class AppSettings;
class DefaultsStore;
class FloatingPanel;
class PortfolioStore;

// Shows and hides the floating panel and keeps it in step with three settings: the style
// (size, shadow), the lock (click-through, no dragging) and the appearance. The panel is made
// on the first show and kept for the rest of the run; hiding only takes it off screen, and a
// hidden panel still follows setting changes. Its frame is saved under
// FloatingPanelGeometry::autosaveKey whenever it moves or resizes and restored on the first
// show; without a saved frame the panel starts 20 px in from the top-right corner.
//
// Setting changes arrive queued (after the setter returned) and an unchanged value does
// nothing. The first show also queues one delivery of each current value.
class FloatingWindowController : public FloatingPanelSwitch {
    Q_OBJECT

public:
    // The usable area of the screen a widget is on (its own screen, else the primary one), or
    // nothing without a screen. Tests pass another size.
    using ScreenArea = std::function<std::optional<QRect>(const QWidget* widget)>;

    // `frameStore` keeps the panel's frame; it must outlive the controller.
    explicit FloatingWindowController(DefaultsStore& frameStore, QObject* parent = nullptr);
    ~FloatingWindowController() override;

    bool isVisible() const override { return m_isVisible; }
    // Hides a visible panel, otherwise shows it. The store and settings of the first call are
    // the ones the panel shows for the rest of the run; both must outlive the controller.
    void toggle(PortfolioStore& store, AppSettings& settings) override;
    void hide();

    void setScreenArea(ScreenArea area) { m_screenArea = std::move(area); }
    static std::optional<QRect> screenAreaOf(const QWidget* widget);

    // For tests: the panel once made, and how often each setting was applied to it.
    FloatingPanel* panel() const;
    int configureCount() const { return m_configureCount; }
    int lockCount() const { return m_lockCount; }
    int appearanceCount() const { return m_appearanceCount; }

private:
    void show(PortfolioStore& store, AppSettings& settings);
    void createPanel(PortfolioStore& store, AppSettings& settings);
    void subscribe(AppSettings& settings);
    void configure(FloatingDisplayStyle style);
    void applyLock(bool locked);
    void applyAppearance(AppearanceMode mode);
    void restoreFrame();
    void saveFrame();
    void setVisible(bool visible);

    DefaultsStore& m_frameStore;
    ScreenArea m_screenArea = &FloatingWindowController::screenAreaOf;
    QPointer<FloatingPanel> m_panel;
    QPointer<AppSettings> m_settings;
    QTimer* m_saveTimer;
    bool m_isVisible = false;
    // The last value each subscription delivered; an equal one is dropped.
    std::optional<FloatingDisplayStyle> m_deliveredStyle;
    std::optional<bool> m_deliveredLock;
    std::optional<AppearanceMode> m_deliveredAppearance;
    int m_configureCount = 0;
    int m_lockCount = 0;
    int m_appearanceCount = 0;
};

}  // namespace vantrell
