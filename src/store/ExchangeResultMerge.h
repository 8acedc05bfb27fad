#pragma once

#include "models/Date.h"
#include "models/Exchange.h"
#include "models/ExchangeProviderSnapshot.h"
#include "models/PortfolioSnapshot.h"
#include "store/PortfolioRefreshState.h"
#include "store/ProviderRefreshResult.h"

#include <QString>

#include <set>

namespace vantrell {

// Folds one exchange's refresh result into the store's state.
//
// A failure never removes data: the exchange keeps its last accounts, positions and balances.
// A success replaces the exchange's share of the snapshot, except when it is incomplete while
// the snapshot still holds complete data of that exchange: then the complete data stays and the
// result counts as a failure ("keep last"), so a passing outage of one account type never turns
// a full portfolio into a partial one.
class ExchangeResultMerge {
public:
    // Appended to the status text of an incomplete result that was not merged.
    static const QString keepLastSuffix;  // "保留上次完整资产"

    // What `apply` changed besides the exchange's status, which it always sets.
    struct Changes {
        bool snapshot = false;
        bool lastUpdated = false;
    };

    // `refreshInterval` is the store's interval in seconds, the base of the back-off.
    static Changes apply(PortfolioRefreshState& state, const ProviderRefreshResult& result,
                         Date date, double refreshInterval);

    // What the result lacked: the missing account types, the unpriced assets and "账户缺失"
    // when an account had no data, joined with ","; "" for a complete result.
    static QString qualityKey(const ExchangeProviderSnapshot& result);
    // The text shown to the user for the result; "" for a complete result without warnings.
    static QString statusText(const ExchangeProviderSnapshot& result);

    // `current` with the exchange's accounts, positions (unless they were unavailable) and
    // balances replaced by the result's. Accounts are ordered by the exchange's name, so
    // Binance, Bitget, Bybit, Gate.io, OKX; the total is their sum; the daily figures go.
    static PortfolioSnapshot merged(const PortfolioSnapshot& current, Exchange exchange,
                                    const ExchangeProviderSnapshot& result);
    // A live snapshot without the data of exchanges outside `configured`, or nothing when it
    // holds none (a snapshot that is not live is never pruned). The daily figures stay.
    static std::optional<PortfolioSnapshot> pruned(const PortfolioSnapshot& snapshot,
                                                   const std::set<Exchange>& configured);

private:
    static void applyFailure(PortfolioRefreshState& state,
                             const ProviderRefreshResult::Failure& failure, Date date,
                             double refreshInterval);
    static Changes applySuccess(PortfolioRefreshState& state,
                                const ProviderRefreshResult::Success& success, Date date,
                                double refreshInterval);
};

}  // namespace vantrell
