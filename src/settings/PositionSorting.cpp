#include "settings/PositionSorting.h"

#include <algorithm>
#include <cstddef>
#include <utility>

namespace vantrell {

namespace {

Decimal sortKey(const Position& position, PositionSortMode mode)
{
    switch (mode) {
        case PositionSortMode::valueDescending:
        case PositionSortMode::valueAscending:
            return position.positionValueUSD();
        case PositionSortMode::pnlDescending:
        case PositionSortMode::pnlAscending:
        case PositionSortMode::defaultOrder:
            return position.unrealizedPnL;
    }
    Q_UNREACHABLE();
    return {};
}

bool isDescending(PositionSortMode mode)
{
    return mode == PositionSortMode::valueDescending || mode == PositionSortMode::pnlDescending;
}

}  // namespace

std::vector<Position> PositionSorting::sorted(std::vector<Position> positions,
                                              PositionSortMode mode)
{
    if (mode == PositionSortMode::defaultOrder) {
        return positions;
    }
    // Each key is computed once; the value key multiplies decimals.
    std::vector<std::pair<Decimal, std::size_t>> keys;
    keys.reserve(positions.size());
    for (std::size_t i = 0; i < positions.size(); ++i) {
        keys.emplace_back(sortKey(positions[i], mode), i);
    }
    const bool descending = isDescending(mode);
    std::stable_sort(keys.begin(), keys.end(), [descending](const auto& a, const auto& b) {
        return descending ? a.first > b.first : a.first < b.first;
    });
    std::vector<Position> result;
    result.reserve(positions.size());
    for (const auto& key : keys) {
        result.push_back(std::move(positions[key.second]));
    }
    return result;
}

}  // namespace vantrell
