#pragma once

#include "models/Date.h"
#include "models/Decimal.h"

namespace vantrell {

// The key the analytics chart compares to decide whether its sampled series must be rebuilt:
// a new update time, a new total or a change of liveness all give a different revision.
struct AssetChartRevision {
    Date updatedAt;
    Decimal totalValue;
    bool isLive = false;

    friend bool operator==(const AssetChartRevision&, const AssetChartRevision&) = default;
};

}  // namespace vantrell
