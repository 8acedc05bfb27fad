#include "GeneratedMarket.h"

namespace vantrell::bench::generated {

Market market(int index)
{
    const auto row = static_cast<std::uint64_t>(index);
    if (index == 0) {
        return {row, "BTC", "USDT", 60'000 * unit};
    }
    if (index % 5 == 0) {
        return {row, assetCode(index), "BTC", row * 7919 % (unit / 100) + 1};
    }
    return {row, assetCode(index), "USDT", row % 900 * unit + row * 7919 % unit + 1};
}

}  // namespace vantrell::bench::generated
