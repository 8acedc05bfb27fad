#pragma once

#include "models/StoredEnum.h"

namespace vantrell {

// `long` and `short` are C++ keywords, hence the trailing underscores.
enum class PositionSide { long_, short_ };

// "LONG", "SHORT".
QString toStored(PositionSide side);
template <>
std::optional<PositionSide> fromStored<PositionSide>(QStringView text);

}  // namespace vantrell
