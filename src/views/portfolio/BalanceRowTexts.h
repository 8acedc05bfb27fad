#pragma once

#include "models/AssetBalance.h"
#include "views/portfolio/AmountTexts.h"

#include <QString>

namespace vantrell {

// Everything an asset row writes: the balances page and the exchange page's asset card.
struct BalanceRowTexts {
    Exchange exchange = Exchange::binance;  // for the row's icon
    QString asset;
    QString account;   // balances page: "<alias> · <type>"; exchange page: the type alone
    QString quantity;  // at most 8 fraction digits
    QString value;

    // The balances page: an unpriced holding (value 0, quantity not 0) reads "暂无报价".
    static BalanceRowTexts forList(const AssetBalance& balance, const AmountTexts& amounts);
    // The exchange page: no alias, and a value of 0 is written as money.
    static BalanceRowTexts forExchangePage(const AssetBalance& balance, const AmountTexts& amounts);

    friend bool operator==(const BalanceRowTexts&, const BalanceRowTexts&) = default;
};

}  // namespace vantrell
