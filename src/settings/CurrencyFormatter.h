#pragma once

#include "models/Decimal.h"
#include "settings/DisplayCurrency.h"
#include "settings/NumberFormatter.h"

#include <QString>

#include <memory>
#include <optional>

namespace vantrell {

// Display text for every amount, price and quantity the program shows, in the user's current
// locale (QLocale()). Formatters are cached process-wide per locale, currency, fraction digits
// and rounding kind. Main thread only: the cache is not locked.
class CurrencyFormatter {
public:
    CurrencyFormatter() = delete;

    // No currency: plain decimal with 0 to `digits` fraction digits (quantities, prices).
    // USDT: plain decimal with exactly `digits`. Other currencies: the locale's currency style
    // with exactly `digits`. `whole` rounds toward minus infinity, otherwise half away from zero.
    static std::shared_ptr<const NumberFormatter> formatter(std::optional<DisplayCurrency> currency,
                                                            int digits, bool whole);

    // A money amount already converted into `currency`: two fraction digits, or none when
    // `whole`. "USDT 1,234.50" for USDT, "$1,234.50" style otherwise; never empty.
    static QString money(const Decimal& amount, DisplayCurrency currency, bool whole);

    // Number of cached formatters; the cache is emptied when a 33rd one is needed.
    static int cachedFormatterCount();

private:
    static NumberFormatter makeFormatter(std::optional<DisplayCurrency> currency, int digits,
                                         bool whole);
};

}  // namespace vantrell
