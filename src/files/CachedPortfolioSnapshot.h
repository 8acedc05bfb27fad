#pragma once

#include "models/Date.h"
#include "models/Exchange.h"
#include "models/ExchangeProviderSnapshot.h"
#include "models/JsonView.h"
#include "models/PortfolioSnapshot.h"

#include <QString>

#include <map>
#include <optional>

namespace vantrell {

// The record of the snapshot cache file: the last merged portfolio and what the store needs to
// pick up where it left off. The store always fills the optional fields; a cache read from a
// bare snapshot file has none of them.
struct CachedPortfolioSnapshot {
    using Quality = std::map<Exchange, QString>;
    using Components = std::map<Exchange, std::map<QString, ExchangeProviderSnapshot>>;

    PortfolioSnapshot snapshot;
    Date savedAt;                     // the store's last update when the record was made
    std::optional<QString> identity;  // the credential identity the data belongs to
    // Per exchange the quality key of its last accepted result ("" for complete data).
    std::optional<Quality> quality;
    // Per exchange the last result of each connection, keyed by connection id.
    std::optional<Components> components;

    // "snapshot" and "savedAt" are required; the exchange-keyed maps are alternating arrays.
    static CachedPortfolioSnapshot fromJson(const JsonView& json);
    JsonValue toJson() const;
    friend bool operator==(const CachedPortfolioSnapshot&,
                           const CachedPortfolioSnapshot&) = default;
};

}  // namespace vantrell
