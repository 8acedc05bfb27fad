#include "views/portfolio/PositionRowTexts.h"

namespace vantrell {

namespace {

constexpr int quantityDigits = 4;

QString priceLineOf(const Position& position, const AmountTexts& amounts, const QString& separator)
{
    return QStringLiteral("开仓价 ") + amounts.money(position.entryPrice) + separator +
           QStringLiteral("标记价 ") + amounts.money(position.markPrice);
}

}  // namespace

PositionRowTexts PositionRowTexts::common(const Position& position, const AmountTexts& amounts)
{
    PositionRowTexts texts;
    texts.exchange = position.exchange;
    texts.symbol = position.symbol;
    texts.side = toStored(position.side);
    texts.sideTint = position.side == PositionSide::short_ ? ChangeTint::loss : ChangeTint::gain;
    texts.quantity = AmountTexts::quantity(position.quantity, quantityDigits);
    texts.value = amounts.money(position.positionValueUSD());
    texts.pnlTint = changeTintOf(position.unrealizedPnL);
    return texts;
}

PositionRowTexts PositionRowTexts::forTable(const Position& position, const AmountTexts& amounts)
{
    PositionRowTexts texts = common(position, amounts);
    texts.priceLine = priceLineOf(position, amounts, QStringLiteral(" · "));
    texts.alias = position.accountAlias;
    texts.pnl = amounts.moneyPlusWhenPositive(position.unrealizedPnL);
    return texts;
}

PositionRowTexts PositionRowTexts::forOverview(const Position& position, const AmountTexts& amounts)
{
    PositionRowTexts texts = common(position, amounts);
    texts.priceLine = priceLineOf(position, amounts, QStringLiteral("  ·  "));
    texts.pnl = amounts.moneyPlusUnlessNegative(position.unrealizedPnL);
    return texts;
}

}  // namespace vantrell
