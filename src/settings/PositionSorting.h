#pragma once

#include "models/Position.h"
#include "settings/PositionSortMode.h"

#include <vector>

namespace vantrell {

// Orders position lists as the user chose.
class PositionSorting {
public:
    // `defaultOrder` keeps the input order; the value orders use `positionValueUSD()`, the
    // profit orders the signed `unrealizedPnL`. Positions with equal keys keep their input
    // order in both directions.
    static std::vector<Position> sorted(std::vector<Position> positions, PositionSortMode mode);
};

}  // namespace vantrell
