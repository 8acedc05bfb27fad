#pragma once

#include "models/Decimal.h"

#include <optional>

namespace vantrell {

// Which colour a figure is drawn in; the widgets map it onto the palette. Gains are red and
// losses green, as the users of this program read them.
enum class ChangeTint { primary, gain, loss };

// Absent: primary; below 0: loss; otherwise, zero included: gain.
ChangeTint tintOfChange(const std::optional<Decimal>& change);
// Below 0: loss; otherwise gain.
ChangeTint tintOfSign(const Decimal& value);

}  // namespace vantrell
