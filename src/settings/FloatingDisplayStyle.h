#pragma once

#include "models/StoredEnum.h"

#include <array>

namespace vantrell {

// The layout of the floating panel.
enum class FloatingDisplayStyle { full, compact, transparent };

inline constexpr std::array<FloatingDisplayStyle, 3> allFloatingDisplayStyles{
    FloatingDisplayStyle::full, FloatingDisplayStyle::compact, FloatingDisplayStyle::transparent};

// "full", "compact", "transparent".
QString toStored(FloatingDisplayStyle value);
template <>
std::optional<FloatingDisplayStyle> fromStored<FloatingDisplayStyle>(QStringView text);

}  // namespace vantrell
