#include "views/settings/SettingsForm.h"

#include "platform/SystemTimeZone.h"
#include "security/CredentialChangeNotifier.h"
#include "services/UpdateChecker.h"
#include "settings/AppSettings.h"
#include "settings/ViewPreferences.h"
#include "store/PortfolioStore.h"
#include "views/kit/SegmentedControl.h"
#include "views/kit/VantrellPalette.h"
#include "views/settings/AlertSettingsSection.h"
#include "views/settings/SettingsFormParts.h"
#include "views/settings/SettingsFormRules.h"
#include "views/settings/UpdateSettingsSection.h"

#include <QCheckBox>
#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QTimeZone>
#include <QVBoxLayout>

#include <algorithm>

namespace vantrell {

namespace Rules = SettingsFormRules;
namespace Parts = SettingsFormParts;

namespace {

template <typename Enum, std::size_t N>
QStringList labelsOf(const std::array<Enum, N>& cases)
{
    QStringList labels;
    for (Enum value : cases) {
        labels << Rules::label(value);
    }
    return labels;
}

template <typename Enum, std::size_t N>
int indexOf(const std::array<Enum, N>& cases, Enum value)
{
    const auto found = std::find(cases.begin(), cases.end(), value);
    return found == cases.end() ? -1 : static_cast<int>(found - cases.begin());
}

SegmentedControl* segmented(const QStringList& labels, const QString& name)
{
    auto* control = new SegmentedControl(labels);
    control->setObjectName(name);
    return control;
}

QCheckBox* toggle(const QString& text, const QString& name)
{
    auto* box = new QCheckBox(text);
    box->setObjectName(name);
    return box;
}

}  // namespace

SettingsForm::SettingsForm(AppSettings& settings, PortfolioStore& store,
                           UpdateChecker& updateChecker, ViewPreferences& preferences,
                           Notifier& authorizer, QWidget* parent)
    : QScrollArea(parent),
      m_settings(&settings),
      m_store(&store),
      m_updateChecker(&updateChecker),
      m_preferences(&preferences)
{
    setObjectName(QStringLiteral("settingsForm"));
    setMinimumSize(minimumWidth, minimumHeight);
    setWidgetResizable(true);
    setFrameShape(QFrame::NoFrame);
    auto* content = new QWidget;
    content->setObjectName(QStringLiteral("settingsContent"));
    content->setAutoFillBackground(true);
    auto* column = new QVBoxLayout(content);
    column->setContentsMargins(8, 8, 8, 8);
    column->setSpacing(14);
    m_alerts = new AlertSettingsSection(preferences, authorizer);
    m_update = new UpdateSettingsSection(settings, updateChecker);
    for (QWidget* section :
         {buildAppearance(), buildRefresh(), static_cast<QWidget*>(m_alerts),
          static_cast<QWidget*>(m_update), buildMenuBar(), buildCurrency(), buildFloating()}) {
        column->addWidget(section);
    }
    column->addStretch(1);
    setWidget(content);
    connectModels(store);
    populateMenuBarModes();
    syncFromSettings();
    applyColors();
}

QWidget* SettingsForm::buildAppearance()
{
    m_appearance = segmented(labelsOf(allAppearanceModes), QStringLiteral("appearanceControl"));
    connect(m_appearance, &SegmentedControl::currentIndexChanged, this, [this](int index) {
        if (m_settings && index >= 0) {
            m_settings->setAppearance(allAppearanceModes[index]);
        }
    });
    auto* content = new QVBoxLayout;
    content->addLayout(Parts::row(QStringLiteral("颜色模式"), m_appearance));
    return Parts::section(QStringLiteral("外观"), content, QStringLiteral("appearanceSection"));
}

QWidget* SettingsForm::buildRefresh()
{
    QStringList intervals;
    for (RefreshInterval interval : allRefreshIntervals) {
        intervals << title(interval);
    }
    m_refreshInterval = segmented(intervals, QStringLiteral("refreshIntervalControl"));
    connect(m_refreshInterval, &SegmentedControl::currentIndexChanged, this, [this](int index) {
        if (m_settings && index >= 0) {
            m_settings->setRefreshInterval(allRefreshIntervals[index]);
        }
    });
    m_performancePeriod =
        segmented(labelsOf(allPerformancePeriods), QStringLiteral("performancePeriodControl"));
    connect(m_performancePeriod, &SegmentedControl::currentIndexChanged, this, [this](int index) {
        if (m_settings && index >= 0) {
            m_settings->setPerformancePeriod(allPerformancePeriods[index]);
        }
    });
    m_adjustFlows = toggle(QStringLiteral("扣除手动记录的外部充提资金"),
                           QStringLiteral("adjustExternalFlowsToggle"));
    connect(m_adjustFlows, &QCheckBox::toggled, this, [this](bool on) {
        if (m_preferences) {
            m_preferences->setAdjustExternalFlows(on);
        }
    });
    auto* content = new QVBoxLayout;
    content->addLayout(Parts::row(QStringLiteral("刷新周期"), m_refreshInterval));
    content->addLayout(Parts::row(QStringLiteral("收益统计"), m_performancePeriod));
    content->addWidget(
        Parts::caption(QStringLiteral("某个交易所暂时无法更新时，其他数据仍可正常刷新。")));
    content->addWidget(Parts::caption(QStringLiteral("收益会在添加交易所后自动开始统计。")));
    content->addWidget(m_adjustFlows);
    content->addWidget(Parts::caption(
        QStringLiteral("默认显示资产变化，不等同于交易盈亏。开启后按收益分析中填写的资金流水调整；"
                       "未记录的充提仍会影响结果。")));
    return Parts::section(QStringLiteral("数据刷新"), content, QStringLiteral("refreshSection"));
}

QWidget* SettingsForm::buildMenuBar()
{
    m_menuBarMode = new QComboBox;
    m_menuBarMode->setObjectName(QStringLiteral("menuBarModePicker"));
    // Only a choice the person makes is written; refilling the list never is.
    connect(m_menuBarMode, &QComboBox::activated, this, [this](int index) {
        const QVariant mode = m_menuBarMode->itemData(index);
        if (m_settings && mode.isValid()) {
            m_settings->setMenuBarDisplayMode(static_cast<MenuBarDisplayMode>(mode.toInt()));
        }
    });
    auto* content = new QVBoxLayout;
    content->addLayout(Parts::row(QStringLiteral("显示内容"), m_menuBarMode));
    return Parts::section(QStringLiteral("菜单栏"), content, QStringLiteral("menuBarSection"));
}

QWidget* SettingsForm::buildCurrency()
{
    m_currency = new QComboBox;
    m_currency->setObjectName(QStringLiteral("displayCurrencyPicker"));
    for (DisplayCurrency currency : allDisplayCurrencies) {
        m_currency->addItem(Rules::label(currency));
    }
    connect(m_currency, &QComboBox::activated, this, [this](int index) {
        if (m_settings && index >= 0) {
            m_settings->setDisplayCurrency(allDisplayCurrencies[index]);
        }
    });
    m_currencyDescription = Parts::caption(QString(), QStringLiteral("currencyRateDescription"));
    auto* refresh = new QPushButton(QStringLiteral("更新汇率"));
    refresh->setObjectName(QStringLiteral("refreshRatesButton"));
    connect(refresh, &QPushButton::clicked, this, [this] {
        if (m_settings) {
            // Never throws; the settings object outlives the download.
            m_settings->refreshCurrencyRates();
        }
    });
    auto* rates = new QHBoxLayout;
    rates->addWidget(m_currencyDescription, 1);
    rates->addWidget(refresh);
    auto* content = new QVBoxLayout;
    content->addLayout(Parts::row(QStringLiteral("显示币种"), m_currency));
    content->addLayout(rates);
    return Parts::section(QStringLiteral("金额显示"), content, QStringLiteral("currencySection"));
}

QWidget* SettingsForm::buildFloating()
{
    m_floatingStyle =
        segmented(labelsOf(allFloatingDisplayStyles), QStringLiteral("floatingStyleControl"));
    connect(m_floatingStyle, &SegmentedControl::currentIndexChanged, this, [this](int index) {
        if (m_settings && index >= 0) {
            m_settings->setFloatingStyle(allFloatingDisplayStyles[index]);
        }
    });
    m_floatingLocked =
        toggle(QStringLiteral("固定位置并允许鼠标穿透"), QStringLiteral("floatingLockToggle"));
    connect(m_floatingLocked, &QCheckBox::toggled, this, [this](bool on) {
        if (m_settings) {
            m_settings->setFloatingLocked(on);
        }
    });
    m_floatingCaption = Parts::caption(QString(), QStringLiteral("floatingLockCaption"));
    auto* content = new QVBoxLayout;
    content->addLayout(Parts::row(QStringLiteral("显示样式"), m_floatingStyle));
    content->addWidget(m_floatingLocked);
    content->addWidget(m_floatingCaption);
    return Parts::section(QStringLiteral("悬浮窗"), content, QStringLiteral("floatingSection"));
}

void SettingsForm::connectModels(PortfolioStore& store)
{
    AppSettings& settings = *m_settings;
    for (auto signal :
         {&AppSettings::appearanceChanged, &AppSettings::refreshIntervalChanged,
          &AppSettings::performancePeriodChanged, &AppSettings::menuBarDisplayModeChanged,
          &AppSettings::displayCurrencyChanged, &AppSettings::currencyRatesUpdatedAtChanged,
          &AppSettings::floatingStyleChanged, &AppSettings::isFloatingLockedChanged}) {
        connect(&settings, signal, this, &SettingsForm::syncFromSettings);
    }
    connect(m_preferences, &ViewPreferences::adjustExternalFlowsChanged, this,
            &SettingsForm::syncFromSettings);

    // The side effects of a change.
    connect(&settings, &AppSettings::refreshIntervalChanged, this,
            &SettingsForm::pushRefreshInterval);
    connect(&settings, &AppSettings::automaticallyChecksForUpdatesChanged, this, [this] {
        if (m_settings && m_updateChecker) {
            Updater& updater = m_updateChecker->updaterController().updater();
            updater.setAutomaticallyChecksForUpdates(m_settings->automaticallyChecksForUpdates());
            updater.setUpdateCheckInterval(Rules::updateCheckIntervalSeconds);
        }
    });
    connect(m_preferences, &ViewPreferences::adjustExternalFlowsChanged, this, [this] {
        if (m_store) {
            m_store->updatePerformance(m_store->lastUpdated());
        }
    });

    // Which exchanges are configured decides the menu-bar modes offered.
    connect(&store, &PortfolioStore::exchangeStatusesChanged, this,
            &SettingsForm::configurationChanged);
    connect(&store, &PortfolioStore::snapshotChanged, this, &SettingsForm::configurationChanged);
    connect(&CredentialChangeNotifier::instance(), &CredentialChangeNotifier::credentialsChanged,
            this, &SettingsForm::configurationChanged);
}

void SettingsForm::showEvent(QShowEvent* event)
{
    QScrollArea::showEvent(event);
    applyMenuBarFallback();
    pushRefreshInterval();
    populateMenuBarModes();
    applyColors();
}

void SettingsForm::changeEvent(QEvent* event)
{
    QScrollArea::changeEvent(event);
    if (event->type() == QEvent::PaletteChange) {
        applyColors();
    }
}

void SettingsForm::applyMenuBarFallback()
{
    if (!m_settings || !m_store) {
        return;
    }
    const auto isConfigured = [this](Exchange e) { return m_store->isConfigured(e); };
    if (const auto fallback =
            Rules::menuBarFallback(m_settings->menuBarDisplayMode(), isConfigured)) {
        m_settings->setMenuBarDisplayMode(*fallback);
    }
}

void SettingsForm::pushRefreshInterval()
{
    if (!m_settings || !m_store) {
        return;
    }
    if (const auto seconds =
            Rules::intervalToPush(m_settings->refreshInterval(), m_store->refreshInterval())) {
        m_store->setRefreshInterval(*seconds);
        m_store->configureTimer();
    }
}

void SettingsForm::configurationChanged()
{
    // A hidden form catches up when it is shown.
    if (isVisible()) {
        populateMenuBarModes();
    }
}

void SettingsForm::populateMenuBarModes()
{
    if (!m_settings || !m_store) {
        return;
    }
    const auto isConfigured = [this](Exchange e) { return m_store->isConfigured(e); };
    std::vector<MenuBarDisplayMode> offered = Rules::offeredMenuBarModes(isConfigured);
    if (offered == m_offeredModes) {
        return;
    }
    m_offeredModes = std::move(offered);
    const QSignalBlocker blocker(m_menuBarMode);
    m_menuBarMode->clear();
    for (MenuBarDisplayMode mode : m_offeredModes) {
        m_menuBarMode->addItem(Rules::label(mode), static_cast<int>(mode));
    }
    // A mode no longer offered stays stored, with nothing chosen, until the next show.
    m_menuBarMode->setCurrentIndex(
        m_menuBarMode->findData(static_cast<int>(m_settings->menuBarDisplayMode())));
}

void SettingsForm::syncFromSettings()
{
    if (!m_settings || !m_preferences) {
        return;
    }
    const AppSettings& s = *m_settings;
    const QSignalBlocker blockers[] = {
        QSignalBlocker(m_appearance),        QSignalBlocker(m_refreshInterval),
        QSignalBlocker(m_performancePeriod), QSignalBlocker(m_adjustFlows),
        QSignalBlocker(m_menuBarMode),       QSignalBlocker(m_currency),
        QSignalBlocker(m_floatingStyle),     QSignalBlocker(m_floatingLocked)};
    m_appearance->setCurrentIndex(indexOf(allAppearanceModes, s.appearance()));
    m_refreshInterval->setCurrentIndex(indexOf(allRefreshIntervals, s.refreshInterval()));
    m_performancePeriod->setCurrentIndex(indexOf(allPerformancePeriods, s.performancePeriod()));
    m_adjustFlows->setChecked(m_preferences->adjustExternalFlows());
    m_menuBarMode->setCurrentIndex(
        m_menuBarMode->findData(static_cast<int>(s.menuBarDisplayMode())));
    m_currency->setCurrentIndex(indexOf(allDisplayCurrencies, s.displayCurrency()));
    m_currencyDescription->setText(Rules::currencyRateDescription(
        s.displayCurrency(), s.currencyRatesUpdatedAt(), QLocale(), systemTimeZone()));
    m_floatingStyle->setCurrentIndex(indexOf(allFloatingDisplayStyles, s.floatingStyle()));
    m_floatingLocked->setChecked(s.isFloatingLocked());
    m_floatingCaption->setText(Rules::floatingLockCaption(s.isFloatingLocked()));
}

void SettingsForm::applyColors()
{
    if (QWidget* content = widget()) {
        QPalette palette = content->palette();
        palette.setColor(QPalette::Window, VantrellPalette::panel(this));
        content->setPalette(palette);
        Parts::applyTints(content);
    }
}

}  // namespace vantrell
