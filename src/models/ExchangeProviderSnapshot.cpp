#include "models/ExchangeProviderSnapshot.h"

#include "models/StoredEnumCoding.h"

namespace vantrell {

namespace {

// The set is written as an array in enumeration order (the set's own order) so the same
// snapshot always gives the same text; reading collapses repeats.
std::set<AccountType> decodeAccountTypes(const JsonView& json, std::string_view key)
{
    const auto types = json::required<std::vector<AccountType>>(json, key);
    return {types.begin(), types.end()};
}

std::vector<AccountType> listed(const std::set<AccountType>& types)
{
    return {types.begin(), types.end()};
}

}  // namespace

ExchangeProviderSnapshot ExchangeProviderSnapshot::fromJson(const JsonView& json)
{
    using Components = std::map<QString, ExchangeProviderSnapshot>;
    return {
        .account = json::required<ExchangeAccount>(json, "account"),
        .balances = json::required<std::vector<AssetBalance>>(json, "balances"),
        .positions = json::required<std::vector<Position>>(json, "positions"),
        .missingAccounts = decodeAccountTypes(json, "missingAccounts"),
        .positionsUnavailable = json::required<bool>(json, "positionsUnavailable"),
        .unpricedAssets = json::required<std::vector<QString>>(json, "unpricedAssets"),
        .containsCachedAccounts = json::required<bool>(json, "containsCachedAccounts"),
        .accountsUnavailable = json::required<bool>(json, "accountsUnavailable"),
        .accountWarnings = json::required<std::vector<QString>>(json, "accountWarnings"),
        .components = json::optional<Components>(json, "components"),
        .retryAfter = json::optional<double>(json, "retryAfter"),
    };
}

JsonValue ExchangeProviderSnapshot::toJson() const
{
    JsonValue object = JsonValue::object();
    json::put(object, "account", account);
    json::put(object, "balances", balances);
    json::put(object, "positions", positions);
    json::put(object, "missingAccounts", listed(missingAccounts));
    json::put(object, "positionsUnavailable", positionsUnavailable);
    json::put(object, "unpricedAssets", unpricedAssets);
    json::put(object, "containsCachedAccounts", containsCachedAccounts);
    json::put(object, "accountsUnavailable", accountsUnavailable);
    json::put(object, "accountWarnings", accountWarnings);
    json::putOptional(object, "components", components);
    json::putOptional(object, "retryAfter", retryAfter);
    return object;
}

}  // namespace vantrell
