#pragma once

#include "files/PortfolioValuePoint.h"
#include "models/CapitalFlow.h"
#include "models/JsonView.h"

#include <QString>

#include <optional>
#include <vector>

namespace vantrell {

// The record of a value-history file and of a history archive: the points gathered for one
// credential identity and one set of tracked accounts, and the capital flows recorded by hand.
struct PortfolioHistory {
    QString identity;
    QString coverage;  // the tracked accounts' coverage text; "" while there is none yet
    std::vector<PortfolioValuePoint> points;        // ascending by time
    std::optional<std::vector<CapitalFlow>> flows;  // the store always writes them

    // "identity", "coverage" and "points" are required, "flows" is optional.
    static PortfolioHistory fromJson(const JsonView& json);
    JsonValue toJson() const;
    friend bool operator==(const PortfolioHistory&, const PortfolioHistory&) = default;
};

}  // namespace vantrell
