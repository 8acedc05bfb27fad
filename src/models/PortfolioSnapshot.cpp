#include "models/PortfolioSnapshot.h"

#include "models/JsonCoding.h"

namespace vantrell {

PortfolioSnapshot PortfolioSnapshot::fromJson(const JsonView& json)
{
    return {
        .totalValue = json::required<Decimal>(json, "totalValue"),
        .dailyPnL = json::optional<Decimal>(json, "dailyPnL"),
        .dailyChangePercent = json::optional<Decimal>(json, "dailyChangePercent"),
        .exchanges = json::required<std::vector<ExchangeAccount>>(json, "exchanges"),
        .positions = json::required<std::vector<Position>>(json, "positions"),
        .balances = json::required<std::vector<AssetBalance>>(json, "balances"),
        .isLive = json::required<bool>(json, "isLive"),
    };
}

JsonValue PortfolioSnapshot::toJson() const
{
    JsonValue object = JsonValue::object();
    json::put(object, "totalValue", totalValue);
    json::putOptional(object, "dailyPnL", dailyPnL);
    json::putOptional(object, "dailyChangePercent", dailyChangePercent);
    json::put(object, "exchanges", exchanges);
    json::put(object, "positions", positions);
    json::put(object, "balances", balances);
    json::put(object, "isLive", isLive);
    return object;
}

}  // namespace vantrell
