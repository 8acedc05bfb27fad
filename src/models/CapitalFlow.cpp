#include "models/CapitalFlow.h"

#include "models/UuidCoding.h"

namespace vantrell {

CapitalFlow CapitalFlow::fromJson(const JsonView& json)
{
    return {
        .id = json::required<Uuid>(json, "id"),
        .timestamp = json::required<Date>(json, "timestamp"),
        .amountUSD = json::required<Decimal>(json, "amountUSD"),
    };
}

JsonValue CapitalFlow::toJson() const
{
    JsonValue object = JsonValue::object();
    json::put(object, "id", id);
    json::put(object, "timestamp", timestamp);
    json::put(object, "amountUSD", amountUSD);
    return object;
}

}  // namespace vantrell
