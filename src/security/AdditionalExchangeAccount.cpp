#include "security/AdditionalExchangeAccount.h"

#include "models/JsonCoding.h"
#include "models/StoredEnumCoding.h"
#include "models/Uuid.h"

namespace vantrell {

QString AdditionalExchangeAccount::newID()
{
    return Uuid::random().toString();
}

AdditionalExchangeAccount AdditionalExchangeAccount::fromJson(const JsonView& value)
{
    return {json::required<QString>(value, "id"), json::required<Exchange>(value, "exchange"),
            json::required<QString>(value, "alias")};
}

JsonValue AdditionalExchangeAccount::toJson() const
{
    JsonValue object = JsonValue::object();
    json::put(object, "id", id);
    json::put(object, "exchange", exchange);
    json::put(object, "alias", alias);
    return object;
}

}  // namespace vantrell
