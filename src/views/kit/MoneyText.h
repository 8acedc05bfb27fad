#pragma once

#include "models/Decimal.h"
#include "settings/PerformancePeriod.h"

#include <QString>

namespace vantrell {

class AppSettings;

// The texts of amounts and changes that every window shows the same way.
class MoneyText {
public:
    MoneyText() = delete;

    // Shown where an amount cannot be given.
    static QString placeholder();  // "—"

    // A US-dollar amount in the display currency; "—" when it cannot be converted. `whole`
    // only for headline totals.
    static QString amount(const AppSettings& settings, const Decimal& amountUSD, bool whole);
    // "+1.23%", "-0.50%", "0.00%": two decimals, "+" only above zero.
    static QString signedPercent(const Decimal& percent);
    // "今日" or "24h".
    static QString periodLabel(PerformancePeriod period);
};

}  // namespace vantrell
