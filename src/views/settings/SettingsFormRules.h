#pragma once

#include "models/Date.h"
#include "models/Exchange.h"
#include "settings/AppearanceMode.h"
#include "settings/DisplayCurrency.h"
#include "settings/FloatingDisplayStyle.h"
#include "settings/MenuBarDisplayMode.h"
#include "settings/PerformancePeriod.h"
#include "settings/RefreshInterval.h"

#include <QLocale>
#include <QString>
#include <QStringView>
#include <QTimeZone>

#include <functional>
#include <optional>
#include <vector>

namespace vantrell {

// The pure rules of the settings form: which menu-bar modes it offers, what it corrects when
// shown, when it pushes the refresh interval, how it shows the cooldown, and its choice labels.
namespace SettingsFormRules {

using IsConfigured = std::function<bool(Exchange)>;

// The stepper's range and step, in minutes; 30 is shown while nothing is stored.
inline constexpr int cooldownMinimum = 1;
inline constexpr int cooldownMaximum = 1440;
inline constexpr int cooldownStep = 5;
inline constexpr int cooldownShownWhenAbsent = 30;
// The update framework's check interval, set with the automatic-check switch.
inline constexpr double updateCheckIntervalSeconds = 86'400;

inline constexpr QStringView alertUpperPlaceholder = u"资产上限（USD，留空不提醒）";
inline constexpr QStringView alertLowerPlaceholder = u"资产下限（USD，留空不提醒）";
inline constexpr QStringView alertPercentPlaceholder = u"资产变化幅度（%，正数）";
inline constexpr QStringView permissionDeniedNotice =
    u"通知未获授权，请在系统设置 → 通知中允许 Vantrell。";
// What an update does on this system: the new version's download page opens.
inline constexpr QStringView updateCaption =
    u"发现新版本时会打开它的下载页面，按页面说明安装即可。";

// The exchange a menu-bar mode shows, or nothing for total, totalWithChange and iconOnly.
std::optional<Exchange> exchangeOf(MenuBarDisplayMode mode);
// The modes "显示内容" offers, in declaration order: the exchange modes only for configured
// exchanges, the other three always.
std::vector<MenuBarDisplayMode> offeredMenuBarModes(const IsConfigured& isConfigured);
// On show: total when `mode` belongs to an exchange that is not configured, else nothing (the
// mode stays).
std::optional<MenuBarDisplayMode> menuBarFallback(MenuBarDisplayMode mode,
                                                  const IsConfigured& isConfigured);

// The seconds to give the store (and then restart its timer) when they differ from what it
// holds; nothing when equal, so the timer keeps its phase.
std::optional<double> intervalToPush(RefreshInterval chosen, double storeInterval);

// The number the cooldown label shows: 30 while absent or not a number, the stored minutes
// truncated toward zero, and 1 or 1440 for values beyond any whole number.
long long cooldownDisplay(const std::optional<double>& storedMinutes);
// "提醒冷却：" + the number + " 分钟".
QString cooldownLabel(const std::optional<double>& storedMinutes);
// The stepper's next value from the stored one (absent counts as 30), kept within 1...1440.
double cooldownStepped(const std::optional<double>& storedMinutes, bool up);

// Labels of the choices.
QString label(AppearanceMode mode);
QString label(PerformancePeriod period);
QString label(MenuBarDisplayMode mode);
QString label(DisplayCurrency currency);
QString label(FloatingDisplayStyle style);

// Under the currency picker: a fixed text for USD and USDT, else when the rates were updated.
QString currencyRateDescription(DisplayCurrency currency, const std::optional<Date>& updatedAt,
                                const QLocale& locale, const QTimeZone& timeZone);
// "最近检查 " + the date.
QString lastCheckedText(Date checkedAt, const QLocale& locale, const QTimeZone& timeZone);
// The floating panel's caption for the lock switch.
QString floatingLockCaption(bool isLocked);

}  // namespace SettingsFormRules

}  // namespace vantrell
