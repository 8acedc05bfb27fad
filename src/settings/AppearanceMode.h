#pragma once

#include "models/StoredEnum.h"

#include <array>

namespace vantrell {

// The colour scheme of the windows: follow the system, or force light or dark.
enum class AppearanceMode { system, light, dark };

inline constexpr std::array<AppearanceMode, 3> allAppearanceModes{
    AppearanceMode::system, AppearanceMode::light, AppearanceMode::dark};

// "system", "light", "dark".
QString toStored(AppearanceMode value);
template <>
std::optional<AppearanceMode> fromStored<AppearanceMode>(QStringView text);

}  // namespace vantrell
