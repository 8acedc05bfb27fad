#pragma once

#include "settings/MenuBarDisplayMode.h"

#include <QPointer>
#include <QScrollArea>

#include <vector>

class QCheckBox;
class QComboBox;
class QLabel;

namespace vantrell {

class AlertSettingsSection;
class AppSettings;
class Notifier;
class PortfolioStore;
class SegmentedControl;
class UpdateChecker;
class UpdateSettingsSection;
class ViewPreferences;

// The settings form, shown both in the settings window and in the main window's settings
// section. Every control writes through to its setting at once; there is no apply step. All
// forms follow the settings' change signals, so two open forms always show the same values.
//
// Each time it is shown, the form switches a menu-bar mode whose exchange is no longer
// configured back to the total, and gives the store the chosen refresh interval when it
// differs from the store's (restarting its timer). Afterwards a new interval is pushed the
// same way, the automatic-check switch reaches the updater with a daily interval, and the flow
// adjustment makes the store recompute its change figures.
//
// The menu-bar modes offered follow which exchanges are configured. A hidden form leaves them
// until it is shown again, and the list is refilled only when the modes offered change, so an
// open list keeps its highlighted choice through a refresh.
class SettingsForm : public QScrollArea {
    Q_OBJECT

public:
    static constexpr int minimumWidth = 460;
    static constexpr int minimumHeight = 440;

    // Everything given must outlive the form. `authorizer` asks for notification permission.
    SettingsForm(AppSettings& settings, PortfolioStore& store, UpdateChecker& updateChecker,
                 ViewPreferences& preferences, Notifier& authorizer, QWidget* parent = nullptr);

    AlertSettingsSection* alertSection() const { return m_alerts; }
    UpdateSettingsSection* updateSection() const { return m_update; }

protected:
    void showEvent(QShowEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    QWidget* buildAppearance();
    QWidget* buildRefresh();
    QWidget* buildMenuBar();
    QWidget* buildCurrency();
    QWidget* buildFloating();
    void connectModels(PortfolioStore& store);

    void applyMenuBarFallback();
    void pushRefreshInterval();
    void configurationChanged();
    void populateMenuBarModes();
    void syncFromSettings();
    void applyColors();

    QPointer<AppSettings> m_settings;
    QPointer<PortfolioStore> m_store;
    QPointer<UpdateChecker> m_updateChecker;
    QPointer<ViewPreferences> m_preferences;

    SegmentedControl* m_appearance = nullptr;
    SegmentedControl* m_refreshInterval = nullptr;
    SegmentedControl* m_performancePeriod = nullptr;
    QCheckBox* m_adjustFlows = nullptr;
    AlertSettingsSection* m_alerts = nullptr;
    UpdateSettingsSection* m_update = nullptr;
    QComboBox* m_menuBarMode = nullptr;
    // The modes the picker lists now, in its order.
    std::vector<MenuBarDisplayMode> m_offeredModes;
    QComboBox* m_currency = nullptr;
    QLabel* m_currencyDescription = nullptr;
    SegmentedControl* m_floatingStyle = nullptr;
    QCheckBox* m_floatingLocked = nullptr;
    QLabel* m_floatingCaption = nullptr;
};

}  // namespace vantrell
