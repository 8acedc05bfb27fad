#include "models/AssetBalance.h"

#include "models/StoredEnumCoding.h"

namespace vantrell {

QString AssetBalance::id() const
{
    return accountID.value_or(toStored(exchange)) + toStored(accountType) + asset;
}

AssetBalance AssetBalance::fromJson(const JsonView& json)
{
    return {
        .accountID = json::optional<QString>(json, "accountID"),
        .accountAlias = json::optional<QString>(json, "accountAlias"),
        .exchange = json::required<Exchange>(json, "exchange"),
        .accountType = json::required<AccountType>(json, "accountType"),
        .asset = json::required<QString>(json, "asset"),
        .quantity = json::required<Decimal>(json, "quantity"),
        .valueInUSD = json::required<Decimal>(json, "valueInUSD"),
    };
}

JsonValue AssetBalance::toJson() const
{
    JsonValue object = JsonValue::object();
    json::putOptional(object, "accountID", accountID);
    json::putOptional(object, "accountAlias", accountAlias);
    json::put(object, "exchange", exchange);
    json::put(object, "accountType", accountType);
    json::put(object, "asset", asset);
    json::put(object, "quantity", quantity);
    json::put(object, "valueInUSD", valueInUSD);
    return object;
}

}  // namespace vantrell
