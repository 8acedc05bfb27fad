#pragma once

#include "models/Date.h"
#include "models/Decimal.h"

namespace vantrell {

// The portfolio's total value at one moment, as the value history hands it to the chart.
struct PortfolioTrendSample {
    Date timestamp;
    Decimal totalValue;  // US dollars

    // Two samples are never taken at the same instant, so the time identifies a sample.
    Date id() const { return timestamp; }

    friend bool operator==(const PortfolioTrendSample&, const PortfolioTrendSample&) = default;
};

}  // namespace vantrell
