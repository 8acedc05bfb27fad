#pragma once

#include "models/AccountType.h"
#include "models/Decimal.h"
#include "models/Exchange.h"
#include "models/ExchangeProviderSnapshot.h"
#include "models/Position.h"

#include <QString>

#include <map>

namespace vantrell {

// Collects the rows of one connector's snapshot and fills the fields every connector fills the
// same way: rows without account id or alias, the account total as the sum of the breakdowns,
// unpriced assets in row order (repeats kept), and the fields only the multi-account provider
// sets left at their defaults.
//
// The connector adds rows grouped by account type in its own order, each group in reply order,
// then its breakdowns in its own order.
class SnapshotBuilder {
public:
    explicit SnapshotBuilder(Exchange exchange);

    // A row valued through the valuation ladder. A quantity of 0 gives no row (returns false);
    // a row valued 0 is kept and its asset listed as unpriced.
    bool addPricedBalance(AccountType type, const QString& asset, const Decimal& quantity,
                          const Decimal& valueInUSD);
    // A row whose value the exchange reported (a futures equity, a per-currency USD equity):
    // added as given, never listed as unpriced. The connector decides whether it exists.
    void addReportedBalance(AccountType type, const QString& asset, const Decimal& quantity,
                            const Decimal& valueInUSD);
    // The sum of the values of the rows added so far for `type`.
    Decimal rowTotal(AccountType type) const;

    // One breakdown, in the connector's order; the account total is their sum.
    void addBreakdown(AccountType type, const Decimal& value);
    // An account type whose optional balance call yielded nothing.
    void markMissing(AccountType type);

    // A position; the connector fills it (exchange, symbol, side, amounts) and leaves the
    // account id, alias and asset symbol empty.
    void addPosition(Position position);
    void markPositionsUnavailable();

    ExchangeProviderSnapshot build() &&;

private:
    void append(AccountType type, const QString& asset, const Decimal& quantity,
                const Decimal& valueInUSD);

    ExchangeProviderSnapshot m_snapshot;
    std::map<AccountType, Decimal> m_rowTotals;
};

}  // namespace vantrell
