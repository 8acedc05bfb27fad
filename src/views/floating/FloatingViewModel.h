#pragma once

#include "models/Decimal.h"
#include "models/Exchange.h"
#include "models/ExchangeAccount.h"
#include "settings/FloatingDisplayStyle.h"
#include "views/kit/ChangeTint.h"

#include <QString>

#include <optional>
#include <vector>

namespace vantrell {

class AppSettings;
class PortfolioStore;

// What the floating panel shows, as texts and tints, computed from the store and the settings
// so the rules can be checked without widgets.
struct FloatingViewModel {
    // What the model is made from.
    struct Inputs {
        bool isLive = false;
        Decimal totalValue;
        std::vector<ExchangeAccount> accounts;  // the visible accounts, in their order
        std::optional<Decimal> pnl;             // of the chosen period
        std::optional<Decimal> percent;         // of the chosen period
    };

    // One exchange's card (full style) or entry (compact style).
    struct ExchangeEntry {
        Exchange exchange = Exchange::binance;
        QString name;    // the display name, "Gate.io"
        QString amount;  // whole amount, "—" when it cannot be converted
        ChangeTint amountTint = ChangeTint::primary;
        std::optional<QString> percent;  // the daily change, when there is one
        ChangeTint percentTint = ChangeTint::gain;
        std::vector<double> sparkline;  // decorative values; empty while the data is live
    };

    FloatingDisplayStyle style = FloatingDisplayStyle::full;
    QString total;  // "—" unless the data is live
    ChangeTint totalTint = ChangeTint::primary;
    // Full and compact: period, blank, profit summary (needs both figures). Transparent:
    // period, blank, signed percent (needs the percent only).
    std::optional<QString> summary;
    ChangeTint summaryTint = ChangeTint::gain;
    std::vector<ExchangeEntry> entries;

    static Inputs inputsOf(const PortfolioStore& store, const AppSettings& settings);
    static FloatingViewModel make(const Inputs& inputs, const AppSettings& settings);
    static FloatingViewModel make(const PortfolioStore& store, const AppSettings& settings);

    // The decorative line of the card at `index`.
    static std::vector<double> decorativeSparkline(size_t index);
};

}  // namespace vantrell
