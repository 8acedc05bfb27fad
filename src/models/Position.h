#pragma once

#include "models/Decimal.h"
#include "models/Exchange.h"
#include "models/JsonView.h"
#include "models/PositionSide.h"

#include <QString>

#include <optional>

namespace vantrell {

// One open futures position of one account. Connectors leave the account fields empty; the
// multi-account merge stamps them.
struct Position {
    std::optional<QString> accountID;
    std::optional<QString> accountAlias;
    Exchange exchange = Exchange::binance;
    QString symbol;
    QString assetSymbol;
    PositionSide side = PositionSide::long_;
    Decimal quantity;
    Decimal entryPrice;
    Decimal markPrice;
    Decimal unrealizedPnL;
    Decimal pnlPercent;  // 12.5 means 12.5 %
    std::optional<Decimal> notionalValueUSD;

    // Account id (or the exchange's stored name), symbol and side joined by "-". Not unique.
    QString id() const;
    // |notional| when a non-zero notional is known, else |quantity × mark price|.
    Decimal positionValueUSD() const;

    static Position fromJson(const JsonView& json);
    JsonValue toJson() const;
    friend bool operator==(const Position&, const Position&) = default;
};

}  // namespace vantrell
