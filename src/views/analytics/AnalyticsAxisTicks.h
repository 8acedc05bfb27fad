#pragma once

#include "models/Date.h"

#include <QTimeZone>

#include <vector>

namespace vantrell::AnalyticsAxisTicks {

// Round values inside [lower, upper] for about `desiredCount` value-axis marks: a step of 1,
// 2, 2.5 or 5 times a power of ten, the fewest marks not above the count. Nothing for an
// empty or non-finite range.
std::vector<double> valueTicks(double lower, double upper, int desiredCount);

// Round times inside [start, end] for about `desiredCount` time-axis marks: whole minutes or
// hours of the local day for short spans, local midnights for spans of days.
std::vector<Date> timeTicks(Date start, Date end, int desiredCount, const QTimeZone& timeZone);

}  // namespace vantrell::AnalyticsAxisTicks
