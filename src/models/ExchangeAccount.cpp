#include "models/ExchangeAccount.h"

#include "models/StoredEnumCoding.h"

namespace vantrell {

ExchangeAccount ExchangeAccount::fromJson(const JsonView& json)
{
    return {
        .exchange = json::required<Exchange>(json, "exchange"),
        .totalValue = json::required<Decimal>(json, "totalValue"),
        .dailyChangePercent = json::optional<Decimal>(json, "dailyChangePercent"),
        .accounts = json::required<std::vector<AccountBreakdown>>(json, "accounts"),
    };
}

JsonValue ExchangeAccount::toJson() const
{
    JsonValue object = JsonValue::object();
    json::put(object, "exchange", exchange);
    json::put(object, "totalValue", totalValue);
    json::putOptional(object, "dailyChangePercent", dailyChangePercent);
    json::put(object, "accounts", accounts);
    return object;
}

}  // namespace vantrell
