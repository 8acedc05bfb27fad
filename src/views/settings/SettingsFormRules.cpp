#include "views/settings/SettingsFormRules.h"

#include "settings/DateLabels.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace vantrell::SettingsFormRules {

std::optional<Exchange> exchangeOf(MenuBarDisplayMode mode)
{
    switch (mode) {
        case MenuBarDisplayMode::binance:
            return Exchange::binance;
        case MenuBarDisplayMode::okx:
            return Exchange::okx;
        case MenuBarDisplayMode::bybit:
            return Exchange::bybit;
        case MenuBarDisplayMode::bitget:
            return Exchange::bitget;
        case MenuBarDisplayMode::gateio:
            return Exchange::gateio;
        case MenuBarDisplayMode::total:
        case MenuBarDisplayMode::totalWithChange:
        case MenuBarDisplayMode::iconOnly:
            return std::nullopt;
    }
    return std::nullopt;
}

std::vector<MenuBarDisplayMode> offeredMenuBarModes(const IsConfigured& isConfigured)
{
    std::vector<MenuBarDisplayMode> modes;
    for (MenuBarDisplayMode mode : allMenuBarDisplayModes) {
        const std::optional<Exchange> exchange = exchangeOf(mode);
        if (!exchange || isConfigured(*exchange)) {
            modes.push_back(mode);
        }
    }
    return modes;
}

std::optional<MenuBarDisplayMode> menuBarFallback(MenuBarDisplayMode mode,
                                                  const IsConfigured& isConfigured)
{
    const std::optional<Exchange> exchange = exchangeOf(mode);
    if (exchange && !isConfigured(*exchange)) {
        return MenuBarDisplayMode::total;
    }
    return std::nullopt;
}

std::optional<double> intervalToPush(RefreshInterval chosen, double storeInterval)
{
    const double chosenSeconds = seconds(chosen);
    if (chosenSeconds == storeInterval) {
        return std::nullopt;
    }
    return chosenSeconds;
}

long long cooldownDisplay(const std::optional<double>& storedMinutes)
{
    if (!storedMinutes || std::isnan(*storedMinutes)) {
        return cooldownShownWhenAbsent;
    }
    const double minutes = std::trunc(*storedMinutes);
    // 2^63 is the first double beyond the whole-number range; -2^63 itself still fits.
    constexpr double limit = 9'223'372'036'854'775'808.0;
    if (minutes >= limit) {
        return cooldownMaximum;
    }
    if (minutes < -limit) {
        return cooldownMinimum;
    }
    return static_cast<long long>(minutes);
}

QString cooldownLabel(const std::optional<double>& storedMinutes)
{
    return QStringLiteral("提醒冷却：") + QString::number(cooldownDisplay(storedMinutes)) +
           QStringLiteral(" 分钟");
}

double cooldownStepped(const std::optional<double>& storedMinutes, bool up)
{
    double current = storedMinutes.value_or(cooldownShownWhenAbsent);
    if (std::isnan(current)) {
        current = cooldownShownWhenAbsent;
    }
    const double next = up ? current + cooldownStep : current - cooldownStep;
    return std::clamp(next, double(cooldownMinimum), double(cooldownMaximum));
}

QString label(AppearanceMode mode)
{
    switch (mode) {
        case AppearanceMode::system:
            return QStringLiteral("跟随系统");
        case AppearanceMode::light:
            return QStringLiteral("浅色");
        case AppearanceMode::dark:
            return QStringLiteral("深色");
    }
    return {};
}

QString label(PerformancePeriod period)
{
    return period == PerformancePeriod::today ? QStringLiteral("今日（0 点起）")
                                              : QStringLiteral("24 小时");
}

QString label(MenuBarDisplayMode mode)
{
    if (const std::optional<Exchange> exchange = exchangeOf(mode)) {
        return toStored(*exchange) + QStringLiteral(" 资产");
    }
    switch (mode) {
        case MenuBarDisplayMode::totalWithChange:
            return QStringLiteral("总资产 + 收益");
        case MenuBarDisplayMode::iconOnly:
            return QStringLiteral("仅图标");
        default:
            return QStringLiteral("总资产");
    }
}

QString label(DisplayCurrency currency)
{
    switch (currency) {
        case DisplayCurrency::usd:
            return QStringLiteral("美元 USD");
        case DisplayCurrency::usdt:
            return QStringLiteral("泰达币 USDT");
        case DisplayCurrency::cny:
            return QStringLiteral("人民币 CNY");
        case DisplayCurrency::eur:
            return QStringLiteral("欧元 EUR");
        case DisplayCurrency::hkd:
            return QStringLiteral("港币 HKD");
    }
    return {};
}

QString label(FloatingDisplayStyle style)
{
    switch (style) {
        case FloatingDisplayStyle::full:
            return QStringLiteral("完整版");
        case FloatingDisplayStyle::compact:
            return QStringLiteral("简版");
        case FloatingDisplayStyle::transparent:
            return QStringLiteral("透明");
    }
    return {};
}

QString currencyRateDescription(DisplayCurrency currency, const std::optional<Date>& updatedAt,
                                const QLocale& locale, const QTimeZone& timeZone)
{
    switch (currency) {
        case DisplayCurrency::usd:
            return QStringLiteral("以美元显示资产金额");
        case DisplayCurrency::usdt:
            return QStringLiteral("按 1 USDT = 1 USD 估算");
        case DisplayCurrency::cny:
        case DisplayCurrency::eur:
        case DisplayCurrency::hkd:
            break;
    }
    if (!updatedAt) {
        return QStringLiteral("汇率暂未更新");
    }
    return QStringLiteral("参考汇率更新于 ") +
           DateLabels::monthDayHourMinute(*updatedAt, locale, timeZone);
}

QString lastCheckedText(Date checkedAt, const QLocale& locale, const QTimeZone& timeZone)
{
    return QStringLiteral("最近检查 ") +
           DateLabels::monthDayHourMinute(checkedAt, locale, timeZone);
}

QString floatingLockCaption(bool isLocked)
{
    return isLocked ? QStringLiteral(
                          "固定后不会拦截其他软件的点击和滚动；需要移动时请回到这里解除固定。")
                    : QStringLiteral("移动模式可直接拖动悬浮窗，并使用窗口内按钮。");
}

}  // namespace vantrell::SettingsFormRules
