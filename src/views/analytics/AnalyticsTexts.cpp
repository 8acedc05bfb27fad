#include "views/analytics/AnalyticsTexts.h"

#include "settings/CurrencyConversion.h"
#include "settings/CurrencyFormatter.h"
#include "settings/DateLabels.h"

#include <array>
#include <charconv>
#include <cmath>

namespace vantrell::AnalyticsTexts {

namespace {

// Fixed notation with `digits` decimals, the same in every locale.
QString fixed(double value, int digits)
{
    std::array<char, 400> buffer{};
    const auto [end, error] = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value,
                                            std::chars_format::fixed, digits);
    if (error != std::errc()) {
        return QStringLiteral("0");
    }
    return QString::fromLatin1(buffer.data(), end - buffer.data());
}

// The decimal that prints as the double's shortest form, so 1234.5 stays 1234.5.
std::optional<Decimal> decimalOf(double value)
{
    if (!std::isfinite(value)) {
        return std::nullopt;
    }
    std::array<char, 32> buffer{};
    const auto [end, error] = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value);
    if (error != std::errc()) {
        return std::nullopt;
    }
    return Decimal::parse(std::string_view(buffer.data(), end - buffer.data()));
}

QString moneyOrPlaceholder(const std::optional<Decimal>& amount, DisplayCurrency currency)
{
    return amount ? CurrencyFormatter::money(*amount, currency, false) : placeholder.toString();
}

}  // namespace

QString changeCardTitle(AnalyticsRange range, bool adjustForFlows)
{
    return title(range) + (adjustForFlows ? QStringLiteral("净资产变化") : QStringLiteral("变化"));
}

ValueTone tone(bool hasFreshCompleteData, const std::optional<Decimal>& value)
{
    if (!hasFreshCompleteData || !value) {
        return ValueTone::primary;
    }
    return value->isNegative() ? ValueTone::loss : ValueTone::gain;
}

QString currentAssetsText(bool isLive, const Decimal& totalUSD, DisplayCurrency currency,
                          const CurrencyRates& rates)
{
    if (!isLive) {
        return placeholder.toString();
    }
    return moneyOrPlaceholder(CurrencyConversion::convert(totalUSD, currency, rates), currency);
}

QString changeText(bool hasFreshCompleteData, const std::optional<Decimal>& changeUSD,
                   const std::optional<Decimal>& percent, DisplayCurrency currency,
                   const CurrencyRates& rates)
{
    if (!hasFreshCompleteData || !changeUSD || !percent) {
        return placeholder.toString();
    }
    return CurrencyConversion::performanceSummary(*changeUSD, *percent, currency, rates);
}

QString extremumText(const std::optional<Decimal>& amountUSD, DisplayCurrency currency,
                     const CurrencyRates& rates)
{
    if (!amountUSD) {
        return placeholder.toString();
    }
    return moneyOrPlaceholder(CurrencyConversion::convert(*amountUSD, currency, rates), currency);
}

QString badgeText(const Decimal& percent)
{
    const double value = percent.toDouble();
    return QStringLiteral("较起点 ") + (value > 0 ? QStringLiteral("+") : QString()) +
           CurrencyConversion::twoDecimals(value) + u'%';
}

QString sampleCountText(std::size_t count)
{
    return QString::number(count) + QStringLiteral(" 个数据点");
}

QString emptyDescription(bool anyExchangeConfigured)
{
    return anyExchangeConfigured ? QStringLiteral("尚未取得完整资产数据，请检查交易所连接状态。")
                                 : QStringLiteral("添加交易所后会自动开始统计。");
}

QString currencyAxisPrefix(DisplayCurrency currency)
{
    switch (currency) {
        case DisplayCurrency::usd:
            return QStringLiteral("$");
        case DisplayCurrency::usdt:
            return QStringLiteral("₮");
        case DisplayCurrency::cny:
            return QStringLiteral("¥");
        case DisplayCurrency::eur:
            return QStringLiteral("€");
        case DisplayCurrency::hkd:
            return QStringLiteral("HK$");
    }
    Q_UNREACHABLE();
    return {};
}

QString compactAxisValue(double value, DisplayCurrency currency)
{
    const double magnitude = std::abs(value);
    QString number;
    if (magnitude >= 1'000'000) {
        number = fixed(value / 1'000'000, 2) + u'M';
    } else if (magnitude >= 1000) {
        number = fixed(value / 1000, 1) + u'K';
    } else {
        number = fixed(value, 0);
    }
    return currencyAxisPrefix(currency) + number;
}

QString axisLabel(Date date, AnalyticsRange range, const QLocale& locale, const QTimeZone& timeZone)
{
    return showsTimeOfDay(range) ? DateLabels::hourMinute(date, locale, timeZone)
                                 : DateLabels::monthDay(date, locale, timeZone);
}

QString selectionDateLabel(Date date, AnalyticsRange range, const QLocale& locale,
                           const QTimeZone& timeZone)
{
    return showsTimeOfDay(range) ? DateLabels::monthDayHourMinute(date, locale, timeZone)
                                 : DateLabels::monthDayHour(date, locale, timeZone);
}

QString selectionValueText(double value, DisplayCurrency currency)
{
    return moneyOrPlaceholder(decimalOf(value), currency);
}

}  // namespace vantrell::AnalyticsTexts
