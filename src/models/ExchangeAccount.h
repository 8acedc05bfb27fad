#pragma once

#include "models/AccountBreakdown.h"
#include "models/Decimal.h"
#include "models/Exchange.h"

#include <optional>
#include <vector>

namespace vantrell {

// One exchange's total and its value per account type. Its identity is `exchange`.
struct ExchangeAccount {
    Exchange exchange = Exchange::binance;
    Decimal totalValue;
    std::optional<Decimal> dailyChangePercent;  // connectors and the account merge leave it out
    std::vector<AccountBreakdown> accounts;

    Exchange id() const { return exchange; }

    static ExchangeAccount fromJson(const JsonView& json);
    JsonValue toJson() const;
    friend bool operator==(const ExchangeAccount&, const ExchangeAccount&) = default;
};

}  // namespace vantrell
