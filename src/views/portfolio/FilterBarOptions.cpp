#include "views/portfolio/FilterBarOptions.h"

#include "security/LocalCredentialStore.h"

namespace vantrell {

const QString FilterBarOptions::searchPlaceholder = QStringLiteral("搜索币种或交易所");
const QString FilterBarOptions::hideSmallLabel = QStringLiteral("隐藏小额（低于 $1）");

std::vector<FilterOption<Exchange>> FilterBarOptions::exchanges(
    const std::vector<Exchange>& configured)
{
    std::vector<FilterOption<Exchange>> options{{QStringLiteral("全部交易所"), std::nullopt}};
    for (const Exchange exchange : configured) {
        options.push_back({toStored(exchange), exchange});
    }
    return options;
}

std::vector<FilterOption<QString>> FilterBarOptions::accounts(
    const std::vector<Exchange>& configured,
    const std::function<bool(Exchange)>& hasCompleteMainAccount,
    const std::vector<AdditionalExchangeAccount>& additionalAccounts)
{
    std::vector<FilterOption<QString>> options{{QStringLiteral("全部账户"), std::nullopt}};
    for (const Exchange exchange : configured) {
        if (hasCompleteMainAccount(exchange)) {
            options.push_back(
                {toStored(exchange) + QStringLiteral(" 默认账户"), caseName(exchange)});
        }
    }
    for (const AdditionalExchangeAccount& account : additionalAccounts) {
        options.push_back(
            {toStored(account.exchange) + QStringLiteral(" · ") + account.alias, account.id});
    }
    return options;
}

std::vector<FilterOption<QString>> FilterBarOptions::accounts(
    const std::vector<Exchange>& configured, const LocalCredentialStore& credentials)
{
    // The provider only tells whether the stored credentials are complete; it is dropped.
    const auto complete = [&credentials](Exchange exchange) {
        return credentials.provider(exchange) != nullptr;
    };
    return accounts(configured, complete, credentials.additionalAccounts());
}

std::vector<FilterOption<PositionSide>> FilterBarOptions::sides()
{
    return {{QStringLiteral("全部方向"), std::nullopt},
            {QStringLiteral("多仓"), PositionSide::long_},
            {QStringLiteral("空仓"), PositionSide::short_}};
}

}  // namespace vantrell
