#include "views/portfolio/BalanceRowTexts.h"

namespace vantrell {

namespace {

constexpr int quantityDigits = 8;

}  // namespace

BalanceRowTexts BalanceRowTexts::forList(const AssetBalance& balance, const AmountTexts& amounts)
{
    BalanceRowTexts texts = forExchangePage(balance, amounts);
    if (balance.accountAlias) {
        texts.account = *balance.accountAlias + QStringLiteral(" · ") + texts.account;
    }
    if (balance.valueInUSD.isZero() && !balance.quantity.isZero()) {
        texts.value = QStringLiteral("暂无报价");
    }
    return texts;
}

BalanceRowTexts BalanceRowTexts::forExchangePage(const AssetBalance& balance,
                                                 const AmountTexts& amounts)
{
    return {balance.exchange, balance.asset, toStored(balance.accountType),
            AmountTexts::quantity(balance.quantity, quantityDigits),
            amounts.money(balance.valueInUSD)};
}

}  // namespace vantrell
