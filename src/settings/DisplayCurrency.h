#pragma once

#include "models/StoredEnum.h"

#include <array>

namespace vantrell {

// The currency in which amounts are shown; its stored string is its currency code.
enum class DisplayCurrency { usd, usdt, cny, eur, hkd };

inline constexpr std::array<DisplayCurrency, 5> allDisplayCurrencies{
    DisplayCurrency::usd, DisplayCurrency::usdt, DisplayCurrency::cny, DisplayCurrency::eur,
    DisplayCurrency::hkd};

// "USD", "USDT", "CNY", "EUR", "HKD".
QString toStored(DisplayCurrency currency);
template <>
std::optional<DisplayCurrency> fromStored<DisplayCurrency>(QStringView text);

}  // namespace vantrell
