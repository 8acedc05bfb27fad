#pragma once

#include "models/Decimal.h"
#include "settings/DisplayCurrency.h"
#include "settings/ReferenceRates.h"

#include <QString>

namespace vantrell {

class AppSettings;

// The display currency and rates of one rebuild, so list models can write amounts without
// holding the settings object. Every US-dollar amount goes through the settings' conversion.
struct AmountTexts {
    DisplayCurrency currency = DisplayCurrency::usd;
    CurrencyRates rates;

    static AmountTexts from(const AppSettings& settings);

    // The amount in the display currency with two decimals, or "—" when a rate is missing.
    QString money(const Decimal& amountUSD) const;
    // "+" unless the amount is below 0, then money(): position profit in cards and the popover.
    QString moneyPlusUnlessNegative(const Decimal& amountUSD) const;
    // "+" only when the amount is above 0, then money(): the positions table.
    QString moneyPlusWhenPositive(const Decimal& amountUSD) const;
    // The settings' one-line change text: "+$12.50  (+1.50%)".
    QString performanceSummary(const Decimal& pnlUSD, const Decimal& percent) const;

    // Plain decimal with at most `digits` fraction digits in the current locale; "0" when the
    // formatter gives nothing.
    static QString quantity(const Decimal& value, int digits);
    // "+" only when above 0, two decimals, "%": "+1.25%", "0.00%", "-0.40%".
    static QString percent(const Decimal& percent);
};

}  // namespace vantrell
