#include "files/PortfolioValuePoint.h"

#include "models/JsonCoding.h"

namespace vantrell {

PortfolioValuePoint PortfolioValuePoint::fromJson(const JsonView& json)
{
    // A history holds tens of thousands of points: both keys are found in one pass.
    const auto [timestamp, totalValue] =
        json::requireObject(json).findEach({"timestamp", "totalValue"});
    return {
        .timestamp = json::requiredMember<Date>(timestamp, "timestamp"),
        .totalValue = json::requiredMember<Decimal>(totalValue, "totalValue"),
    };
}

JsonValue PortfolioValuePoint::toJson() const
{
    JsonValue object = JsonValue::object();
    json::put(object, "timestamp", timestamp);
    json::put(object, "totalValue", totalValue);
    return object;
}

}  // namespace vantrell
