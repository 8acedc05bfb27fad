#pragma once

#include "models/Exchange.h"
#include "security/AdditionalExchangeAccount.h"
#include "store/ExchangeRefreshStatus.h"

#include <QString>
#include <QStringView>
#include <QUrl>

#include <vector>

namespace vantrell {

// The rules and texts of the exchange management page.
namespace ExchangeManagementRules {

inline constexpr QStringView pageTitle = u"交易所管理";
inline constexpr QStringView pageSubtitle = u"添加交易所，集中查看资产";
inline constexpr QStringView registerButton = u"注册";
inline constexpr QStringView manageButton = u"管理";
inline constexpr QStringView configureButton = u"配置";
inline constexpr QStringView addAccountTooltip = u"添加同一交易所的另一个账户";
inline constexpr QStringView connectingText = u"正在验证连接";
// 已添加, a space, a middle dot (U+00B7) and a space.
inline constexpr QStringView addedPrefix = u"已添加 · ";

// What the exchange's accounts hold, e.g. "现货、资金账户与合约资产" for Binance.
QString accountTypesDescription(Exchange exchange);

// The line under the exchange's name: the description while it is not configured; once it is,
// "正在验证连接" while connecting, "已添加 · " + the failure while failed, else "已添加 · " +
// the description.
QString statusText(Exchange exchange, bool isConfigured, const ExchangeRefreshStatus& status);
// The status line's tooltip: the status detail when there is one, else the line itself.
QString statusTooltip(const ExchangeRefreshStatus& status, const QString& statusText);

// "管理" for a configured exchange, else "配置".
QString mainAccountButtonText(bool isConfigured);
// "打开 " + the exchange's name + " 官方注册链接".
QString registerTooltip(Exchange exchange);

// Whether a referral link may be offered: https (any case), a host, no user name or password.
bool isRegistrationURL(const QUrl& url);

// The exchange's additional accounts, in stored order.
std::vector<AdditionalExchangeAccount> accountsOf(
    Exchange exchange, const std::vector<AdditionalExchangeAccount>& accounts);

// A new, not yet stored additional account: a fresh upper-case id and the alias "账户 " with
// the number after the exchange's accounts (the main account counts as the first), so the
// first additional account is "账户 2".
AdditionalExchangeAccount proposedAccount(Exchange exchange,
                                          const std::vector<AdditionalExchangeAccount>& accounts);

}  // namespace ExchangeManagementRules

}  // namespace vantrell
