#pragma once

#include "models/Date.h"
#include "models/Decimal.h"
#include "settings/DisplayCurrency.h"
#include "settings/ReferenceRates.h"
#include "views/analytics/AnalyticsRange.h"

#include <QLocale>
#include <QString>
#include <QStringView>
#include <QTimeZone>

#include <optional>

namespace vantrell {

// How a figure is tinted: gains red, losses green, unknown figures in the primary text colour.
enum class ValueTone { primary, gain, loss };

// The texts of the analytics page. Amounts in US dollars are converted here with the given
// currency and rates; "—" stands for anything that cannot be shown.
namespace AnalyticsTexts {

inline constexpr QStringView pageTitle = u"收益分析";
inline constexpr QStringView pageSubtitle = u"总资产历史变化";
inline constexpr QStringView capitalFlowsButton = u"资金流水";
inline constexpr QStringView exportButton = u"导出 CSV";
inline constexpr QStringView rangePickerLabel = u"统计周期";
inline constexpr QStringView currentAssetsTitle = u"当前资产";
inline constexpr QStringView highTitle = u"区间最高";
inline constexpr QStringView lowTitle = u"区间最低";
inline constexpr QStringView chartTitle = u"总资产曲线";
inline constexpr QStringView emptyTitle = u"暂无收益数据";
inline constexpr QStringView footnote =
    u"收益根据总资产变化估算，充币、提币和账户划转也会影响结果。";
inline constexpr QStringView exportFailedTitle = u"导出失败";
inline constexpr QStringView exportFailedButton = u"好";
inline constexpr QStringView placeholder = u"—";

// The range's title followed directly by "净资产变化" when flows are taken out, else "变化".
QString changeCardTitle(AnalyticsRange range, bool adjustForFlows);

// Fresh, complete data and a known value: loss below 0, gain otherwise (0 included).
ValueTone tone(bool hasFreshCompleteData, const std::optional<Decimal>& value);

// "当前资产": the live total converted, or "—" when not live or not convertible.
QString currentAssetsText(bool isLive, const Decimal& totalUSD, DisplayCurrency currency,
                          const CurrencyRates& rates);
// The change card: the profit summary when fresh and both figures are known, else "—".
QString changeText(bool hasFreshCompleteData, const std::optional<Decimal>& changeUSD,
                   const std::optional<Decimal>& percent, DisplayCurrency currency,
                   const CurrencyRates& rates);
// A range extreme converted and written as money, or "—".
QString extremumText(const std::optional<Decimal>& amountUSD, DisplayCurrency currency,
                     const CurrencyRates& rates);

// The chart header's badge: "较起点 " + "+" above 0 + two decimals + "%".
QString badgeText(const Decimal& percent);
// "<count> 个数据点", the unreduced samples.
QString sampleCountText(std::size_t count);
// Why there is nothing to draw.
QString emptyDescription(bool anyExchangeConfigured);

// "$", "₮", "¥", "€", "HK$".
QString currencyAxisPrefix(DisplayCurrency currency);
// The y axis label: prefix, then the value in millions ("%.2fM") from 1,000,000, in thousands
// ("%.1fK") from 1000, else whole ("%.0f"); the sign stays with the number ("$-1.5K").
QString compactAxisValue(double value, DisplayCurrency currency);

// The x axis label: time of day for today and 24 hours, else month and day.
QString axisLabel(Date date, AnalyticsRange range, const QLocale& locale,
                  const QTimeZone& timeZone);
// The selection annotation's date: month, day and hour, and the minute for the short ranges.
QString selectionDateLabel(Date date, AnalyticsRange range, const QLocale& locale,
                           const QTimeZone& timeZone);
// The selection annotation's amount: the point's value, already in the display currency.
QString selectionValueText(double value, DisplayCurrency currency);

}  // namespace AnalyticsTexts

}  // namespace vantrell
