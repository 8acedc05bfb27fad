#include "files/PortfolioHistory.h"

#include "models/JsonCoding.h"

namespace vantrell {

PortfolioHistory PortfolioHistory::fromJson(const JsonView& json)
{
    return {
        .identity = json::required<QString>(json, "identity"),
        .coverage = json::required<QString>(json, "coverage"),
        .points = json::required<std::vector<PortfolioValuePoint>>(json, "points"),
        .flows = json::optional<std::vector<CapitalFlow>>(json, "flows"),
    };
}

JsonValue PortfolioHistory::toJson() const
{
    JsonValue object = JsonValue::object();
    json::put(object, "identity", identity);
    json::put(object, "coverage", coverage);
    json::put(object, "points", points);
    json::putOptional(object, "flows", flows);
    return object;
}

}  // namespace vantrell
