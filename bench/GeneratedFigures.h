#pragma once

// The figures every generated reply draws on: amounts, asset codes and the balances of an
// account, each following from its index alone.

#include <cstdint>
#include <string>
#include <string_view>

namespace vantrell::bench::generated {

inline constexpr std::uint64_t unit = 100'000'000;  // amounts are counted in units of 1e-8
inline constexpr std::int64_t serverTime = 1'700'000'000'000;  // milliseconds
inline constexpr std::string_view serverTimeText = "1700000000000";

std::string amount(std::uint64_t units);
std::string signedAmount(std::uint64_t units, bool negative);
std::string assetCode(int index);
std::string joined(std::string_view first, std::string_view second);

// Balance k of a run of priced balances that starts at made-up asset `first`: USDT leads, as in
// most accounts, and every other asset has a market in the ticker lists.
std::string pricedAsset(int k, int first);
std::string quantity(int k);
std::string lockedQuantity(int k);
// What the exchange itself says a balance is worth, for the accounts it values.
std::string reportedValue(int k);

}  // namespace vantrell::bench::generated
