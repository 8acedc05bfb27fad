#pragma once

#include "models/Date.h"
#include "models/StoredEnum.h"

#include <QTimeZone>

#include <array>

namespace vantrell {

// The periods the analytics page can chart. Not persisted; the stored string (the case name)
// is the segment's identity.
enum class AnalyticsRange { today, twentyFourHours, sevenDays, thirtyDays, ninetyDays };

inline constexpr std::array<AnalyticsRange, 5> allAnalyticsRanges{
    AnalyticsRange::today, AnalyticsRange::twentyFourHours, AnalyticsRange::sevenDays,
    AnalyticsRange::thirtyDays, AnalyticsRange::ninetyDays};

// "today", "twentyFourHours", "sevenDays", "thirtyDays", "ninetyDays".
QString toStored(AnalyticsRange range);
template <>
std::optional<AnalyticsRange> fromStored<AnalyticsRange>(QStringView text);

// The segment text: "今日", "24 小时", "7 天", "30 天", "90 天".
QString title(AnalyticsRange range);

// Where the range begins when it ends at `now` (the store's last update, not the clock):
// midnight of the day holding `now` in `timeZone` for today, else now minus the range's length.
Date rangeStart(AnalyticsRange range, Date now, const QTimeZone& timeZone);

// Short ranges label their axis with times of day, longer ones with dates.
bool showsTimeOfDay(AnalyticsRange range);

}  // namespace vantrell
