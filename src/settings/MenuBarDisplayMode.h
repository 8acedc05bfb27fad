#pragma once

#include "models/StoredEnum.h"

#include <array>

namespace vantrell {

// What the tray item's title shows: the portfolio total, one exchange's total, the total
// with its change, or nothing besides the icon.
enum class MenuBarDisplayMode {
    total,
    binance,
    okx,
    bybit,
    bitget,
    gateio,
    totalWithChange,
    iconOnly
};

inline constexpr std::array<MenuBarDisplayMode, 8> allMenuBarDisplayModes{
    MenuBarDisplayMode::total,           MenuBarDisplayMode::binance, MenuBarDisplayMode::okx,
    MenuBarDisplayMode::bybit,           MenuBarDisplayMode::bitget,  MenuBarDisplayMode::gateio,
    MenuBarDisplayMode::totalWithChange, MenuBarDisplayMode::iconOnly};

// "total", "binance", "okx", "bybit", "bitget", "gateio", "totalWithChange", "iconOnly".
QString toStored(MenuBarDisplayMode value);
template <>
std::optional<MenuBarDisplayMode> fromStored<MenuBarDisplayMode>(QStringView text);

}  // namespace vantrell
