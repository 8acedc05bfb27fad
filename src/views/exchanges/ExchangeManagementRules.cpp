#include "views/exchanges/ExchangeManagementRules.h"

#include <algorithm>

namespace vantrell::ExchangeManagementRules {

QString accountTypesDescription(Exchange exchange)
{
    switch (exchange) {
        case Exchange::binance:
            return QStringLiteral("现货、资金账户与合约资产");
        case Exchange::okx:
            return QStringLiteral("资金账户、交易账户与合约资产");
        case Exchange::bybit:
            return QStringLiteral("统一账户与合约持仓");
        case Exchange::bitget:
            return QStringLiteral("统一账户、资金账户与合约持仓");
        case Exchange::gateio:
            return QStringLiteral("现货账户与合约持仓");
    }
    Q_UNREACHABLE();
    return {};
}

QString statusText(Exchange exchange, bool isConfigured, const ExchangeRefreshStatus& status)
{
    if (!isConfigured) {
        return accountTypesDescription(exchange);
    }
    using Kind = ExchangeRefreshStatus::State::Kind;
    switch (status.state.kind) {
        case Kind::connecting:
            return connectingText.toString();
        case Kind::failed:
            return addedPrefix.toString() + status.state.message;
        case Kind::unconfigured:
        case Kind::connected:
            break;
    }
    return addedPrefix.toString() + accountTypesDescription(exchange);
}

QString statusTooltip(const ExchangeRefreshStatus& status, const QString& statusText)
{
    return status.detail.isEmpty() ? statusText : status.detail;
}

QString mainAccountButtonText(bool isConfigured)
{
    return (isConfigured ? manageButton : configureButton).toString();
}

QString registerTooltip(Exchange exchange)
{
    return QStringLiteral("打开 ") + toStored(exchange) + QStringLiteral(" 官方注册链接");
}

bool isRegistrationURL(const QUrl& url)
{
    return url.isValid() && url.scheme().compare(u"https", Qt::CaseInsensitive) == 0 &&
           !url.host().isEmpty() && url.userName().isNull() && url.password().isNull();
}

std::vector<AdditionalExchangeAccount> accountsOf(
    Exchange exchange, const std::vector<AdditionalExchangeAccount>& accounts)
{
    std::vector<AdditionalExchangeAccount> matching;
    std::copy_if(accounts.begin(), accounts.end(), std::back_inserter(matching),
                 [exchange](const auto& account) { return account.exchange == exchange; });
    return matching;
}

AdditionalExchangeAccount proposedAccount(Exchange exchange,
                                          const std::vector<AdditionalExchangeAccount>& accounts)
{
    const auto count = std::count_if(accounts.begin(), accounts.end(),
                                     [exchange](const auto& a) { return a.exchange == exchange; });
    return {AdditionalExchangeAccount::newID(), exchange,
            QStringLiteral("账户 ") + QString::number(count + 2)};
}

}  // namespace vantrell::ExchangeManagementRules
