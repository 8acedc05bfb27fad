#pragma once

#include "models/Clock.h"
#include "models/Date.h"
#include "models/Decimal.h"
#include "models/Position.h"
#include "networking/HttpTransport.h"
#include "platform/DefaultsStore.h"
#include "settings/AppearanceMode.h"
#include "settings/DisplayCurrency.h"
#include "settings/FloatingDisplayStyle.h"
#include "settings/MenuBarDisplayMode.h"
#include "settings/PerformancePeriod.h"
#include "settings/PositionSortMode.h"
#include "settings/Preference.h"
#include "settings/ReferenceRates.h"
#include "settings/RefreshInterval.h"

#include <QCoroTask>
#include <QObject>
#include <QString>

#include <optional>
#include <vector>

namespace vantrell {

// The user's display preferences and the euro reference rates. One instance lives on the main
// thread for the whole run; views read and bind its properties. Every assignment of a
// preference is written to the defaults store at once, also when it assigns the value already
// held, so a choice the user makes is always on disk. Construction writes nothing: a stored
// value this program does not understand stays in the store while the default is shown.
class AppSettings : public QObject {
    Q_OBJECT
    Q_PROPERTY(vantrell::AppearanceMode appearance READ appearance WRITE setAppearance NOTIFY
                   appearanceChanged)
    Q_PROPERTY(vantrell::FloatingDisplayStyle floatingStyle READ floatingStyle WRITE
                   setFloatingStyle NOTIFY floatingStyleChanged)
    Q_PROPERTY(bool isFloatingLocked READ isFloatingLocked WRITE setFloatingLocked NOTIFY
                   isFloatingLockedChanged)
    Q_PROPERTY(vantrell::RefreshInterval refreshInterval READ refreshInterval WRITE
                   setRefreshInterval NOTIFY refreshIntervalChanged)
    Q_PROPERTY(vantrell::MenuBarDisplayMode menuBarDisplayMode READ menuBarDisplayMode WRITE
                   setMenuBarDisplayMode NOTIFY menuBarDisplayModeChanged)
    Q_PROPERTY(vantrell::DisplayCurrency displayCurrency READ displayCurrency WRITE
                   setDisplayCurrency NOTIFY displayCurrencyChanged)
    Q_PROPERTY(vantrell::PositionSortMode positionSortMode READ positionSortMode WRITE
                   setPositionSortMode NOTIFY positionSortModeChanged)
    Q_PROPERTY(vantrell::PerformancePeriod performancePeriod READ performancePeriod WRITE
                   setPerformancePeriod NOTIFY performancePeriodChanged)
    Q_PROPERTY(bool automaticallyChecksForUpdates READ automaticallyChecksForUpdates WRITE
                   setAutomaticallyChecksForUpdates NOTIFY automaticallyChecksForUpdatesChanged)
    Q_PROPERTY(vantrell::CurrencyRates currencyRates READ currencyRates NOTIFY currencyRatesChanged)
    Q_PROPERTY(std::optional<vantrell::Date> currencyRatesUpdatedAt READ currencyRatesUpdatedAt
                   NOTIFY currencyRatesUpdatedAtChanged)

public:
    // Reads every preference and the stored rates, then schedules one rate download on the
    // event loop. The store, transport and clock must outlive this object.
    AppSettings(DefaultsStore& defaults, HttpTransport& transport, const Clock& clock,
                QObject* parent = nullptr);

    AppearanceMode appearance() const { return m_appearance; }
    FloatingDisplayStyle floatingStyle() const { return m_floatingStyle; }
    bool isFloatingLocked() const { return m_isFloatingLocked; }
    RefreshInterval refreshInterval() const { return m_refreshInterval; }
    MenuBarDisplayMode menuBarDisplayMode() const { return m_menuBarDisplayMode; }
    DisplayCurrency displayCurrency() const { return m_displayCurrency; }
    PositionSortMode positionSortMode() const { return m_positionSortMode; }
    PerformancePeriod performancePeriod() const { return m_performancePeriod; }
    bool automaticallyChecksForUpdates() const { return m_automaticallyChecksForUpdates; }
    const CurrencyRates& currencyRates() const { return m_currencyRates; }
    std::optional<Date> currencyRatesUpdatedAt() const { return m_currencyRatesUpdatedAt; }

    void setAppearance(AppearanceMode value);
    void setFloatingStyle(FloatingDisplayStyle value);
    void setFloatingLocked(bool value);
    void setRefreshInterval(RefreshInterval value);
    void setMenuBarDisplayMode(MenuBarDisplayMode value);
    void setDisplayCurrency(DisplayCurrency value);
    void setPositionSortMode(PositionSortMode value);
    void setPerformancePeriod(PerformancePeriod value);
    void setAutomaticallyChecksForUpdates(bool value);

    // Downloads the daily reference rates once. A complete file replaces the rates, sets the
    // update time to now and stores both; any failure changes nothing. Never throws. Downloads
    // are not serialised: each applies its own complete result when it arrives.
    QCoro::Task<void> refreshCurrencyRates();

    // A US-dollar amount in the display currency; nothing when a rate it needs is missing.
    std::optional<Decimal> convertedAmount(const Decimal& amountUSD) const;
    // The one-line profit text of a change figure, in the display currency.
    QString performanceSummary(const Decimal& pnlUSD, const Decimal& percent) const;
    // A copy of the list in the current sort order; equal keys keep their order.
    std::vector<Position> sortedPositions(const std::vector<Position>& positions) const;

Q_SIGNALS:
    void appearanceChanged();
    void floatingStyleChanged();
    void isFloatingLockedChanged();
    void refreshIntervalChanged();
    void menuBarDisplayModeChanged();
    void displayCurrencyChanged();
    void positionSortModeChanged();
    void performancePeriodChanged();
    void automaticallyChecksForUpdatesChanged();
    void currencyRatesChanged();
    void currencyRatesUpdatedAtChanged();

private:
    template <typename T>
    void assign(T& member, const T& value, const Preference<T>& preference,
                void (AppSettings::*changed)());
    void applyRates(const CurrencyRates& rates);

    DefaultsStore& m_defaults;
    HttpTransport& m_transport;
    const Clock& m_clock;

    AppearanceMode m_appearance;
    FloatingDisplayStyle m_floatingStyle;
    bool m_isFloatingLocked;
    RefreshInterval m_refreshInterval;
    MenuBarDisplayMode m_menuBarDisplayMode;
    DisplayCurrency m_displayCurrency;
    PositionSortMode m_positionSortMode;
    PerformancePeriod m_performancePeriod;
    bool m_automaticallyChecksForUpdates;
    CurrencyRates m_currencyRates;
    std::optional<Date> m_currencyRatesUpdatedAt;
};

}  // namespace vantrell
