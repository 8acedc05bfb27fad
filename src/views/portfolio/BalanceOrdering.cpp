#include "views/portfolio/BalanceOrdering.h"

#include <algorithm>
#include <cstddef>
#include <numeric>

namespace vantrell {

std::vector<AssetBalance> BalanceOrdering::byValueDescending(std::vector<AssetBalance> balances)
{
    // Sorting indices moves each balance once instead of at every swap.
    std::vector<std::size_t> order(balances.size());
    std::iota(order.begin(), order.end(), std::size_t{0});
    std::stable_sort(order.begin(), order.end(), [&balances](std::size_t a, std::size_t b) {
        return balances[a].valueInUSD > balances[b].valueInUSD;
    });
    std::vector<AssetBalance> sorted;
    sorted.reserve(balances.size());
    for (const std::size_t index : order) {
        sorted.push_back(std::move(balances[index]));
    }
    return sorted;
}

std::vector<AssetBalance> BalanceOrdering::ofExchange(const std::vector<AssetBalance>& balances,
                                                      Exchange exchange)
{
    std::vector<AssetBalance> kept;
    std::copy_if(balances.begin(), balances.end(), std::back_inserter(kept),
                 [exchange](const AssetBalance& b) { return b.exchange == exchange; });
    return byValueDescending(std::move(kept));
}

}  // namespace vantrell
