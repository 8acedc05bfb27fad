#pragma once

#include "GeneratedFigures.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace vantrell::bench::generated {

// One spot market of the ticker lists. Row 0 is the bridge, BTC against USDT; row i is made-up
// asset i against USDT, or against BTC for every fifth asset. Every figure follows from the row
// and no price is 0.
struct Market {
    std::uint64_t row;
    std::string base;
    std::string quote;
    std::uint64_t last;

    std::string symbol(std::string_view separator) const
    {
        return joined(joined(base, separator), quote);
    }
    std::string price() const { return amount(last); }
    std::string ask() const { return amount(last + last / 2000 + 1); }
    std::string bid() const { return amount(last - last / 2000); }
    std::string open() const { return amount(last - last / 80); }
    std::string high() const { return amount(last + last / 40); }
    std::string low() const { return amount(last - last / 30); }
    std::string bookSize() const { return amount(scrambled() % (500 * unit) + unit / 100); }
    std::string baseVolume() const { return amount(scrambled() * 7 % (90'000 * unit) + unit); }
    std::string quoteVolume() const { return amount(scrambled() * 13 % (900'000 * unit) + unit); }
    // The 24-hour change as a ratio ("-0.01230000"), or times 100 as a percentage.
    std::string change(std::uint64_t scale = 1) const
    {
        return signedAmount(row * 37 % 900 * 10'000 * scale, row % 2 == 1);
    }

private:
    std::uint64_t scrambled() const { return row * 2'654'435'761; }
};

Market market(int index);

}  // namespace vantrell::bench::generated
