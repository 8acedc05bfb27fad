#pragma once

#include "models/StoredEnum.h"

#include <array>

namespace vantrell {

// The order of position lists; `defaultOrder` keeps the order the caller gives.
enum class PositionSortMode {
    defaultOrder,
    valueDescending,
    valueAscending,
    pnlDescending,
    pnlAscending
};

inline constexpr std::array<PositionSortMode, 5> allPositionSortModes{
    PositionSortMode::defaultOrder, PositionSortMode::valueDescending,
    PositionSortMode::valueAscending, PositionSortMode::pnlDescending,
    PositionSortMode::pnlAscending};

// "defaultOrder", "valueDescending", "valueAscending", "pnlDescending", "pnlAscending".
QString toStored(PositionSortMode value);
template <>
std::optional<PositionSortMode> fromStored<PositionSortMode>(QStringView text);

}  // namespace vantrell
