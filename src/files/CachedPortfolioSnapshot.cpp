#include "files/CachedPortfolioSnapshot.h"

#include "files/ExchangeKeyedCoding.h"
#include "models/JsonCoding.h"

namespace vantrell {

CachedPortfolioSnapshot CachedPortfolioSnapshot::fromJson(const JsonView& json)
{
    return {
        .snapshot = json::required<PortfolioSnapshot>(json, "snapshot"),
        .savedAt = json::required<Date>(json, "savedAt"),
        .identity = json::optional<QString>(json, "identity"),
        .quality = json::optional<Quality>(json, "quality"),
        .components = json::optional<Components>(json, "components"),
    };
}

JsonValue CachedPortfolioSnapshot::toJson() const
{
    JsonValue object = JsonValue::object();
    json::put(object, "snapshot", snapshot);
    json::put(object, "savedAt", savedAt);
    json::putOptional(object, "identity", identity);
    json::putOptional(object, "quality", quality);
    json::putOptional(object, "components", components);
    return object;
}

}  // namespace vantrell
