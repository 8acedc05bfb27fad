#pragma once

#include "models/AccountType.h"
#include "models/AssetBalance.h"
#include "models/ExchangeAccount.h"
#include "models/Position.h"

#include <QString>

#include <map>
#include <optional>
#include <set>
#include <vector>

namespace vantrell {

// What one provider returns from one fetch. A connector fills the first six fields; the
// multi-account provider fills all of them.
struct ExchangeProviderSnapshot {
    ExchangeAccount account;
    std::vector<AssetBalance> balances;
    std::vector<Position> positions;
    std::set<AccountType> missingAccounts;  // account types whose balances could not be read
    bool positionsUnavailable = false;
    std::vector<QString> unpricedAssets;  // repeats kept
    bool containsCachedAccounts = false;
    bool accountsUnavailable = false;
    std::vector<QString> accountWarnings;
    // The snapshot kept per connection id, unstamped; handed back on the next fetch.
    std::optional<std::map<QString, ExchangeProviderSnapshot>> components;
    std::optional<double> retryAfter;  // seconds

    // No missing account type, no unpriced asset and no unavailable account. Positions do not
    // count.
    bool isComplete() const
    {
        return missingAccounts.empty() && unpricedAssets.empty() && !accountsUnavailable;
    }

    static ExchangeProviderSnapshot fromJson(const JsonView& json);
    JsonValue toJson() const;
    friend bool operator==(const ExchangeProviderSnapshot&,
                           const ExchangeProviderSnapshot&) = default;
};

}  // namespace vantrell
