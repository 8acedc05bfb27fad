#pragma once

#include "GeneratedFigures.h"

#include <cstdint>
#include <string>

namespace vantrell::bench::generated {

// Open position k of an account: made-up asset k + 1, long when k is even.
struct Holding {
    std::uint64_t k;

    int asset() const { return static_cast<int>(k) + 1; }
    bool isLong() const { return k % 2 == 0; }
    std::string size() const { return amount((k + 1) * unit + 5); }
    std::string signedSize() const { return signedAmount((k + 1) * unit + 5, !isLong()); }
    std::string entry() const { return amount((100 + k) * unit + 25); }
    std::string mark() const { return amount((101 + k) * unit + 75); }
    std::string pnl() const { return signedAmount(k * unit + 50, k % 3 == 0); }
    std::string pnlRatio() const { return signedAmount(k * 123'456 + 1, k % 3 == 0); }
    std::string notional() const { return amount((1000 + k) * unit); }
    std::string margin() const { return amount((100 + k) * unit); }
    std::string liquidation() const { return amount((isLong() ? 60 + k : 140 + k) * unit); }
};

inline Holding holding(int k)
{
    return Holding{static_cast<std::uint64_t>(k)};
}

}  // namespace vantrell::bench::generated
