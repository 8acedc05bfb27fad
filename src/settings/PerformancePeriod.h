#pragma once

#include "models/StoredEnum.h"

#include <array>

namespace vantrell {

// Whether change figures cover the last 24 hours or the time since local midnight.
enum class PerformancePeriod { twentyFourHours, today };

inline constexpr std::array<PerformancePeriod, 2> allPerformancePeriods{
    PerformancePeriod::twentyFourHours, PerformancePeriod::today};

// "twentyFourHours", "today".
QString toStored(PerformancePeriod value);
template <>
std::optional<PerformancePeriod> fromStored<PerformancePeriod>(QStringView text);

}  // namespace vantrell
