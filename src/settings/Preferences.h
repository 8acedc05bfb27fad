#pragma once

#include "models/Date.h"
#include "settings/AppearanceMode.h"
#include "settings/DisplayCurrency.h"
#include "settings/FloatingDisplayStyle.h"
#include "settings/MenuBarDisplayMode.h"
#include "settings/PerformancePeriod.h"
#include "settings/PositionSortMode.h"
#include "settings/Preference.h"
#include "settings/ReferenceRates.h"
#include "settings/RefreshInterval.h"

#include <optional>

namespace vantrell {

// How each type is kept in the defaults store.
template <>
struct PreferenceCoding<AppearanceMode> : ChoicePreferenceCoding<AppearanceMode> {
};
template <>
struct PreferenceCoding<FloatingDisplayStyle> : ChoicePreferenceCoding<FloatingDisplayStyle> {
};
template <>
struct PreferenceCoding<MenuBarDisplayMode> : ChoicePreferenceCoding<MenuBarDisplayMode> {
};
template <>
struct PreferenceCoding<DisplayCurrency> : ChoicePreferenceCoding<DisplayCurrency> {
};
template <>
struct PreferenceCoding<PositionSortMode> : ChoicePreferenceCoding<PositionSortMode> {
};
template <>
struct PreferenceCoding<PerformancePeriod> : ChoicePreferenceCoding<PerformancePeriod> {
};

// The number of seconds as a double; any number but exactly 5, 10, 30 or 60 is not understood
// (an absent key reads as 0).
template <>
struct PreferenceCoding<RefreshInterval> {
    static std::optional<RefreshInterval> decode(const QVariant& stored)
    {
        return refreshIntervalFromSeconds(storedNumber(stored));
    }
    static QVariant encode(RefreshInterval interval) { return seconds(interval); }
};

template <>
struct PreferenceCoding<CurrencyRates> {
    static std::optional<CurrencyRates> decode(const QVariant& stored)
    {
        return ReferenceRates::fromStored(stored);
    }
    static QVariant encode(const CurrencyRates& rates) { return ReferenceRates::toStored(rates); }
};

// A date object; anything else reads as no date.
template <>
struct PreferenceCoding<std::optional<Date>> {
    static std::optional<std::optional<Date>> decode(const QVariant& stored);
    static QVariant encode(const std::optional<Date>& date);
};

// Every key of the settings, its stored form (by type, above) and its default. Other parts of
// the program that read one of these keys themselves (the refresh cycle reads the interval and
// the performance period, the update checker the automatic-check flag) read it through this
// table, so they apply the same rule.
namespace preferences {

inline constexpr Preference<AppearanceMode> appearance{u"appearanceMode", AppearanceMode::system};
inline constexpr Preference<FloatingDisplayStyle> floatingStyle{u"floatingDisplayStyle",
                                                                FloatingDisplayStyle::full};
inline constexpr Preference<bool> isFloatingLocked{u"isFloatingLocked", false};
inline constexpr Preference<RefreshInterval> refreshInterval{u"refreshInterval",
                                                             RefreshInterval::ten};
inline constexpr Preference<MenuBarDisplayMode> menuBarDisplayMode{u"menuBarDisplayMode",
                                                                   MenuBarDisplayMode::total};
inline constexpr Preference<DisplayCurrency> displayCurrency{u"displayCurrency",
                                                             DisplayCurrency::usd};
inline constexpr Preference<PositionSortMode> positionSortMode{u"positionSortMode",
                                                               PositionSortMode::defaultOrder};
inline constexpr Preference<PerformancePeriod> performancePeriod{
    u"performancePeriod", PerformancePeriod::twentyFourHours};
inline constexpr Preference<bool> automaticallyChecksForUpdates{u"automaticallyChecksForUpdates",
                                                                true};
inline const Preference<CurrencyRates> currencyRates{u"currencyRates", {}};
inline constexpr Preference<std::optional<Date>> currencyRatesUpdatedAt{u"currencyRatesUpdatedAt",
                                                                        std::nullopt};
// Whether recorded capital flows are taken out of the change figures. Written by the settings
// form, read by the store and the analytics page at every computation.
inline constexpr Preference<bool> adjustExternalFlows{u"adjustExternalFlows", false};
// The update layer's own state: whether found updates may be fetched unasked (stored and shown
// only; nothing is ever downloaded or installed by the program) and when the last check ended.
inline constexpr Preference<bool> updaterAutomaticallyDownloadsUpdates{
    u"updaterAutomaticallyDownloadsUpdates", false};
inline constexpr Preference<std::optional<Date>> updaterLastCheckTime{u"updaterLastCheckTime",
                                                                      std::nullopt};

// The threshold alerts, written by the settings form as the user types them and read by the
// store's alerts at every evaluation with rules of their own (threshold texts that are not plain
// numbers switch their condition off; an absent cooldown counts as 30 minutes).
inline constexpr Preference<bool> alertsEnabled{u"alertsEnabled", false};
inline constexpr QStringView alertUpperUSDKey = u"alertUpperUSD";
inline constexpr QStringView alertLowerUSDKey = u"alertLowerUSD";
inline constexpr QStringView alertPercentKey = u"alertPercent";
inline const Preference<QString> alertUpperUSD{alertUpperUSDKey, QString()};
inline const Preference<QString> alertLowerUSD{alertLowerUSDKey, QString()};
inline const Preference<QString> alertPercent{alertPercentKey, QString()};
// Minutes; absent until the user changes it.
inline constexpr Preference<std::optional<double>> alertCooldownMinutes{u"alertCooldownMinutes",
                                                                        std::nullopt};

// The main window's section as the user last picked it (the raw value of the section; read as
// given, so a value this program does not know stays stored) and whether the window was already
// brought to its compact size once.
inline const Preference<QString> mainSection{u"mainSection", QStringLiteral("overview")};
inline constexpr Preference<bool> didApplyCompactMainWindowSize{u"didApplyCompactMainWindowSizeV1",
                                                                false};

}  // namespace preferences

}  // namespace vantrell
