#pragma once

#include "models/AssetBalance.h"
#include "models/Decimal.h"
#include "models/ExchangeAccount.h"
#include "models/Position.h"

#include <optional>
#include <vector>

namespace vantrell {

// The whole portfolio as the store publishes and caches it. The default value is the store's
// empty snapshot: total 0, no change figures, empty lists, not live.
struct PortfolioSnapshot {
    Decimal totalValue;
    std::optional<Decimal> dailyPnL;
    std::optional<Decimal> dailyChangePercent;
    std::vector<ExchangeAccount> exchanges;
    std::vector<Position> positions;
    std::vector<AssetBalance> balances;
    bool isLive = false;

    static PortfolioSnapshot fromJson(const JsonView& json);
    JsonValue toJson() const;
    friend bool operator==(const PortfolioSnapshot&, const PortfolioSnapshot&) = default;
};

}  // namespace vantrell
