#pragma once

#include "models/AssetBalance.h"
#include "models/Exchange.h"

#include <vector>

namespace vantrell {

// The order of asset lists: US-dollar value, largest first; equal values keep their order.
class BalanceOrdering {
public:
    static std::vector<AssetBalance> byValueDescending(std::vector<AssetBalance> balances);
    // The balances of one exchange (all its accounts) in that order.
    static std::vector<AssetBalance> ofExchange(const std::vector<AssetBalance>& balances,
                                                Exchange exchange);
};

}  // namespace vantrell
