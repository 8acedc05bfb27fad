#pragma once

#include "models/StoredEnum.h"

#include <array>
#include <optional>

namespace vantrell {

// How often the portfolio is refreshed. The defaults store keeps the number of seconds (a
// double), not a name, because the portfolio store reads that number itself.
enum class RefreshInterval { five, ten, thirty, sixty };

inline constexpr std::array<RefreshInterval, 4> allRefreshIntervals{
    RefreshInterval::five, RefreshInterval::ten, RefreshInterval::thirty, RefreshInterval::sixty};

// 5, 10, 30 or 60.
double seconds(RefreshInterval interval);
// Exactly 5, 10, 30 or 60 give their case; any other number gives nothing.
std::optional<RefreshInterval> refreshIntervalFromSeconds(double seconds);

// "5 秒", "10 秒", "30 秒", "60 秒".
QString title(RefreshInterval interval);

// The whole number of seconds as text ("5", "10", "30", "60"): the identity a view can use for
// a choice. The defaults store never holds this text; it holds `seconds()`.
QString toStored(RefreshInterval interval);
template <>
std::optional<RefreshInterval> fromStored<RefreshInterval>(QStringView text);

}  // namespace vantrell
