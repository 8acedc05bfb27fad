#pragma once

#include "models/Decimal.h"
#include "settings/DisplayCurrency.h"
#include "settings/ReferenceRates.h"

#include <QString>

#include <optional>

namespace vantrell {

// Turns US-dollar amounts into the display currency through the euro reference rates, and
// writes the one-line profit text shown with change figures.
class CurrencyConversion {
public:
    // USD and USDT are returned unchanged (USDT counts as one dollar). EUR, CNY and HKD go
    // through euros: amount × rate(target) ÷ rate(USD), multiplied first. Nothing when a rate
    // it needs is missing or zero.
    static std::optional<Decimal> convert(const Decimal& amountUSD, DisplayCurrency currency,
                                          const CurrencyRates& rates);

    // "+" when the profit is above 0, the converted profit as money ("—" when it cannot be
    // converted), two spaces, then the percent in brackets with two decimals and "+" when the
    // percent is above 0, e.g. "+$12.50  (+1.50%)". The percent is already in percent units.
    static QString performanceSummary(const Decimal& pnlUSD, const Decimal& percent,
                                      DisplayCurrency currency, const CurrencyRates& rates);

    // The number with exactly two decimals, the same whatever the locale ("-0.00" keeps its
    // sign).
    static QString twoDecimals(double value);
};

}  // namespace vantrell
