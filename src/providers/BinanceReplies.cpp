#include "providers/BinanceReplies.h"

#include "models/JsonCoding.h"

namespace vantrell {

BinanceSpotAccountResponse::Balance BinanceSpotAccountResponse::Balance::fromJson(
    const JsonView& json)
{
    return Balance{json::required<QString>(json, "asset"), json::required<QString>(json, "free"),
                   json::required<QString>(json, "locked")};
}

BinanceSpotAccountResponse BinanceSpotAccountResponse::fromJson(const JsonView& json)
{
    return BinanceSpotAccountResponse{json::required<std::vector<Balance>>(json, "balances")};
}

BinanceFuturesAccountResponse BinanceFuturesAccountResponse::fromJson(const JsonView& json)
{
    return BinanceFuturesAccountResponse{json::required<QString>(json, "totalMarginBalance")};
}

BinancePositionResponse BinancePositionResponse::fromJson(const JsonView& json)
{
    BinancePositionResponse row;
    row.symbol = json::required<QString>(json, "symbol");
    row.positionAmt = json::required<QString>(json, "positionAmt");
    row.entryPrice = json::required<QString>(json, "entryPrice");
    row.markPrice = json::required<QString>(json, "markPrice");
    row.unRealizedProfit = json::required<QString>(json, "unRealizedProfit");
    row.positionSide = json::required<QString>(json, "positionSide");
    row.notional = json::optional<QString>(json, "notional");
    return row;
}

BinancePriceResponse BinancePriceResponse::fromJson(const JsonView& json)
{
    return BinancePriceResponse{json::required<QString>(json, "symbol"),
                                json::required<QString>(json, "price")};
}

BinanceFundingBalance BinanceFundingBalance::fromJson(const JsonView& json)
{
    BinanceFundingBalance row;
    row.asset = json::required<QString>(json, "asset");
    row.free = json::optional<QString>(json, "free");
    row.locked = json::optional<QString>(json, "locked");
    row.freeze = json::optional<QString>(json, "freeze");
    row.withdrawing = json::optional<QString>(json, "withdrawing");
    row.btcValuation = json::optional<QString>(json, "btcValuation");
    return row;
}

}  // namespace vantrell
