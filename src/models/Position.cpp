#include "models/Position.h"

#include "models/StoredEnumCoding.h"

namespace vantrell {

QString Position::id() const
{
    return accountID.value_or(toStored(exchange)) + u'-' + symbol + u'-' + toStored(side);
}

Decimal Position::positionValueUSD() const
{
    // A zero notional means the exchange did not really report one.
    if (notionalValueUSD && !notionalValueUSD->isZero()) {
        return notionalValueUSD->abs();
    }
    return (quantity * markPrice).abs();
}

Position Position::fromJson(const JsonView& json)
{
    return {
        .accountID = json::optional<QString>(json, "accountID"),
        .accountAlias = json::optional<QString>(json, "accountAlias"),
        .exchange = json::required<Exchange>(json, "exchange"),
        .symbol = json::required<QString>(json, "symbol"),
        .assetSymbol = json::required<QString>(json, "assetSymbol"),
        .side = json::required<PositionSide>(json, "side"),
        .quantity = json::required<Decimal>(json, "quantity"),
        .entryPrice = json::required<Decimal>(json, "entryPrice"),
        .markPrice = json::required<Decimal>(json, "markPrice"),
        .unrealizedPnL = json::required<Decimal>(json, "unrealizedPnL"),
        .pnlPercent = json::required<Decimal>(json, "pnlPercent"),
        .notionalValueUSD = json::optional<Decimal>(json, "notionalValueUSD"),
    };
}

JsonValue Position::toJson() const
{
    JsonValue object = JsonValue::object();
    json::putOptional(object, "accountID", accountID);
    json::putOptional(object, "accountAlias", accountAlias);
    json::put(object, "exchange", exchange);
    json::put(object, "symbol", symbol);
    json::put(object, "assetSymbol", assetSymbol);
    json::put(object, "side", side);
    json::put(object, "quantity", quantity);
    json::put(object, "entryPrice", entryPrice);
    json::put(object, "markPrice", markPrice);
    json::put(object, "unrealizedPnL", unrealizedPnL);
    json::put(object, "pnlPercent", pnlPercent);
    json::putOptional(object, "notionalValueUSD", notionalValueUSD);
    return object;
}

}  // namespace vantrell
