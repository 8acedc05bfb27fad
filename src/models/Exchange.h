#pragma once

#include "models/StoredEnum.h"

#include <array>

namespace vantrell {

class JsonValue;

// The five exchanges, in the order in which the program lists and refreshes them.
enum class Exchange { binance, okx, bybit, bitget, gateio };

inline constexpr std::array<Exchange, 5> allExchanges{Exchange::binance, Exchange::okx,
                                                       Exchange::bybit, Exchange::bitget,
                                                       Exchange::gateio};

// "Binance", "OKX", "Bybit", "Bitget", "Gate.io": the JSON form, the display name and `id`.
QString toStored(Exchange exchange);
template <>
std::optional<Exchange> fromStored<Exchange>(QStringView text);

// "binance", "okx", "bybit", "bitget", "gateio": the connection id of an exchange's main
// account. Never written by the records.
QString caseName(Exchange exchange);

}  // namespace vantrell
