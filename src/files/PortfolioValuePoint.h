#pragma once

#include "models/Date.h"
#include "models/Decimal.h"
#include "models/JsonView.h"

namespace vantrell {

// One point of the value history: the portfolio's total in US dollars at one moment.
struct PortfolioValuePoint {
    Date timestamp;
    Decimal totalValue;  // US dollars

    // Exactly the keys "timestamp" and "totalValue", both required.
    static PortfolioValuePoint fromJson(const JsonView& json);
    JsonValue toJson() const;
    friend bool operator==(const PortfolioValuePoint&, const PortfolioValuePoint&) = default;
};

}  // namespace vantrell
