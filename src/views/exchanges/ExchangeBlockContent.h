#pragma once

#include "models/Exchange.h"
#include "security/AdditionalExchangeAccount.h"
#include "store/ExchangeRefreshStatus.h"

#include <QString>
#include <QUrl>

#include <optional>
#include <vector>

namespace vantrell {

// What one exchange's block on the management page shows: its row and its additional
// accounts' rows. The page keeps the content it last drew and rebuilds the widgets only when
// their shape changes; a new status line goes into the row it already has, so a press, the
// keyboard focus or a tooltip on the row outlives a refresh.
struct ExchangeBlockContent {
    Exchange exchange = Exchange::binance;
    bool configured = false;
    QString statusText;
    QString statusTooltip;
    // The registration link offered; none when the referral configuration has no usable one.
    std::optional<QUrl> registrationURL;
    // The exchange's additional accounts, in stored order.
    std::vector<AdditionalExchangeAccount> accounts;

    // `link` is the referral link's address, `allAccounts` the stored additional accounts of
    // every exchange.
    static ExchangeBlockContent of(Exchange exchange, bool configured,
                                   const ExchangeRefreshStatus& status,
                                   const std::optional<QUrl>& link,
                                   const std::vector<AdditionalExchangeAccount>& allAccounts);

    // Whether `other` is drawn by the same widgets: everything but the status line is equal.
    bool hasSameRows(const ExchangeBlockContent& other) const;

    friend bool operator==(const ExchangeBlockContent&, const ExchangeBlockContent&) = default;
};

// Whether the two lists of blocks are drawn by the same widgets, block by block.
bool haveSameRows(const std::vector<ExchangeBlockContent>& a,
                  const std::vector<ExchangeBlockContent>& b);

}  // namespace vantrell
