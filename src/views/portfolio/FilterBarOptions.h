#pragma once

#include "models/Exchange.h"
#include "models/PositionSide.h"
#include "security/AdditionalExchangeAccount.h"
#include "views/portfolio/FilterOption.h"

#include <QString>

#include <functional>
#include <vector>

namespace vantrell {

class LocalCredentialStore;

// The items of the filter bar's pickers, in the order they are offered, and its fixed texts.
class FilterBarOptions {
public:
    static const QString searchPlaceholder;  // "搜索币种或交易所"
    static const QString hideSmallLabel;     // "隐藏小额（低于 $1）"

    // "全部交易所", then each configured exchange by name.
    static std::vector<FilterOption<Exchange>> exchanges(const std::vector<Exchange>& configured);

    // "全部账户"; "<name> 默认账户" (tag: the exchange's case name) for each configured exchange
    // whose main credentials are complete; then "<name> · <alias>" (tag: the id) for every
    // additional account, whatever its credentials or exchange.
    static std::vector<FilterOption<QString>> accounts(
        const std::vector<Exchange>& configured,
        const std::function<bool(Exchange)>& hasCompleteMainAccount,
        const std::vector<AdditionalExchangeAccount>& additionalAccounts);
    // The same, asking the credential store which main accounts are complete.
    static std::vector<FilterOption<QString>> accounts(const std::vector<Exchange>& configured,
                                                       const LocalCredentialStore& credentials);

    // "全部方向", "多仓", "空仓".
    static std::vector<FilterOption<PositionSide>> sides();
};

}  // namespace vantrell
