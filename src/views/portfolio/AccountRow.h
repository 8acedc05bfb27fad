#pragma once

#include "models/AccountBreakdown.h"
#include "views/portfolio/AmountTexts.h"

#include <QString>

namespace vantrell {

// One account line of an exchange card, as the overview page and the popover show it.
struct AccountRow {
    QString type;   // "现货", "资金账户", "合约", "交易账户"
    QString value;  // money

    static AccountRow make(const AccountBreakdown& breakdown, const AmountTexts& amounts);

    friend bool operator==(const AccountRow&, const AccountRow&) = default;
};

}  // namespace vantrell
