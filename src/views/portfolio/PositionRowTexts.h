#pragma once

#include "models/Position.h"
#include "views/kit/ChangeTint.h"
#include "views/portfolio/AmountTexts.h"

#include <QString>

#include <optional>

namespace vantrell {

// Everything a position row of the main window writes. The positions table (also used by the
// exchange pages) and the overview's positions card differ in the separator of the price line
// and in the sign of a zero profit, so each has its own builder.
struct PositionRowTexts {
    Exchange exchange = Exchange::binance;  // for the row's icon
    QString symbol;
    QString side;  // "LONG" or "SHORT"
    ChangeTint sideTint = ChangeTint::gain;
    QString priceLine;             // "开仓价 <entry> · 标记价 <mark>"
    std::optional<QString> alias;  // the account alias, when the position has one
    QString quantity;              // at most 4 fraction digits
    QString value;                 // money of positionValueUSD()
    QString pnl;                   // signed money of the unrealized profit
    ChangeTint pnlTint = ChangeTint::gain;

    // The positions table: "+" only above 0; " · " in the price line; the alias line.
    static PositionRowTexts forTable(const Position& position, const AmountTexts& amounts);
    // The overview card: "+" unless below 0; "  ·  " in the price line; no alias line.
    static PositionRowTexts forOverview(const Position& position, const AmountTexts& amounts);

    friend bool operator==(const PositionRowTexts&, const PositionRowTexts&) = default;

private:
    static PositionRowTexts common(const Position& position, const AmountTexts& amounts);
};

}  // namespace vantrell
