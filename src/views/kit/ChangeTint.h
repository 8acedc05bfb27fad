#pragma once

#include "models/Decimal.h"

#include <QColor>

#include <optional>

class QWidget;

namespace vantrell {

// How a change figure is coloured: an absent change in the primary text colour, a change
// below zero as a loss (green), any other value, zero included, as a gain (red).
enum class ChangeTint { primary, gain, loss };

// The tint of a change figure (a percent or an amount).
ChangeTint changeTintOf(const std::optional<Decimal>& change);
// The tint's colour as the widget paints it now.
QColor changeTintColor(ChangeTint tint, const QWidget* widget);
// The colour of a line that only shows when the change exists: loss below zero, else gain.
QColor signColor(const Decimal& change);

}  // namespace vantrell
