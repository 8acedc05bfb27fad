#include "views/popover/PopoverPositionRow.h"

namespace vantrell {

PopoverPositionRow PopoverPositionRow::make(const Position& position, const AmountTexts& amounts)
{
    PopoverPositionRow row;
    row.symbol = position.symbol;
    row.side = toStored(position.side);
    row.sideTint = position.side == PositionSide::short_ ? ChangeTint::loss : ChangeTint::gain;
    row.markPrice = QStringLiteral("标记价 ") + amounts.money(position.markPrice);
    row.value = amounts.money(position.positionValueUSD());
    row.quantity = QStringLiteral("数量 ") + AmountTexts::quantity(position.quantity, 4);
    row.pnl = amounts.moneyPlusUnlessNegative(position.unrealizedPnL) + QStringLiteral(" (") +
              AmountTexts::percent(position.pnlPercent) + u')';
    row.pnlTint = changeTintOf(position.unrealizedPnL);
    return row;
}

}  // namespace vantrell
