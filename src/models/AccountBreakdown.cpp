#include "models/AccountBreakdown.h"

#include "models/StoredEnumCoding.h"

namespace vantrell {

AccountBreakdown AccountBreakdown::fromJson(const JsonView& json)
{
    return {
        .type = json::required<AccountType>(json, "type"),
        .value = json::required<Decimal>(json, "value"),
    };
}

JsonValue AccountBreakdown::toJson() const
{
    JsonValue object = JsonValue::object();
    json::put(object, "type", type);
    json::put(object, "value", value);
    return object;
}

}  // namespace vantrell
