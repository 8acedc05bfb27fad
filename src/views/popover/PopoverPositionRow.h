#pragma once

#include "models/Position.h"
#include "views/kit/ChangeTint.h"
#include "views/portfolio/AmountTexts.h"

#include <QString>

namespace vantrell {

// The texts of one position row of the popover.
struct PopoverPositionRow {
    QString symbol;
    QString side;  // "LONG" or "SHORT" on the badge
    ChangeTint sideTint = ChangeTint::gain;
    QString markPrice;  // "标记价 " + money
    QString value;      // money of positionValueUSD()
    QString quantity;   // "数量 " + at most 4 fraction digits
    // "+" unless the profit is below 0, money, then " (" + percent + ")" with "+" only above 0:
    // "+$0.00 (0.00%)", "-$3.20 (-1.10%)".
    QString pnl;
    ChangeTint pnlTint = ChangeTint::gain;

    static PopoverPositionRow make(const Position& position, const AmountTexts& amounts);

    friend bool operator==(const PopoverPositionRow&, const PopoverPositionRow&) = default;
};

}  // namespace vantrell
