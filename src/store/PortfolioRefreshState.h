#pragma once

#include "files/CachedPortfolioSnapshot.h"
#include "models/Date.h"
#include "models/Exchange.h"
#include "models/PortfolioSnapshot.h"
#include "store/ExchangeRefreshStatus.h"
#include "store/RefreshBackoff.h"

#include <map>
#include <set>
#include <vector>

namespace vantrell {

// The portfolio store's per-exchange data: the merged snapshot and, for each exchange, its
// status, how complete its last merged result was, its per-connection results and its back-off.
// All of it belongs to one credential identity. Merging a result (ExchangeResultMerge) and the
// freshness questions (PortfolioFreshness) work on this value, so both can be tested without a
// store.
struct PortfolioRefreshState {
    using Quality = CachedPortfolioSnapshot::Quality;
    using Components = CachedPortfolioSnapshot::Components;

    PortfolioSnapshot snapshot;  // the empty snapshot by default
    Date lastUpdated;            // time of the last merged success
    ExchangeStatusMap statuses;
    // Per exchange the quality key of its last merged result: "" for complete data. An exchange
    // without an entry has not been merged under the current identity.
    Quality quality;
    Components components;  // per exchange, keyed by connection id
    std::map<Exchange, RefreshBackoff> backoffs;

    // The exchange's entry, or the default status.
    ExchangeRefreshStatus status(Exchange exchange) const;

    // Steps of a refresh cycle.
    // The credential set changed: nothing of the old identity stays.
    void resetForNewIdentity();
    // Exchanges without a provider are unconfigured; they keep the time of their last success.
    void markUnconfigured(const std::set<Exchange>& configured);
    // The exchanges whose back-off lets them be fetched at `now` become `connecting` (keeping
    // their last success and detail) and are returned in the given order; the others keep
    // their status and data. A forced refresh skips the regular wait, never the server's.
    std::vector<Exchange> markEligible(const std::vector<Exchange>& exchanges, Date now,
                                       bool force);
};

}  // namespace vantrell
