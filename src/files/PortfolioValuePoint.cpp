#include "files/PortfolioValuePoint.h"

#include "models/JsonCoding.h"

namespace vantrell {

PortfolioValuePoint PortfolioValuePoint::fromJson(const JsonView& json)
{
    return {
        .timestamp = json::required<Date>(json, "timestamp"),
        .totalValue = json::required<Decimal>(json, "totalValue"),
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
