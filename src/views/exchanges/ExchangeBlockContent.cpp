#include "views/exchanges/ExchangeBlockContent.h"

#include "views/exchanges/ExchangeManagementRules.h"

#include <algorithm>

namespace vantrell {

namespace Rules = ExchangeManagementRules;

ExchangeBlockContent ExchangeBlockContent::of(
    Exchange exchange, bool configured, const ExchangeRefreshStatus& status,
    const std::optional<QUrl>& link, const std::vector<AdditionalExchangeAccount>& allAccounts)
{
    ExchangeBlockContent content;
    content.exchange = exchange;
    content.configured = configured;
    content.statusText = Rules::statusText(exchange, configured, status);
    content.statusTooltip = Rules::statusTooltip(status, content.statusText);
    if (link && Rules::isRegistrationURL(*link)) {
        content.registrationURL = link;
    }
    content.accounts = Rules::accountsOf(exchange, allAccounts);
    return content;
}

bool ExchangeBlockContent::hasSameRows(const ExchangeBlockContent& other) const
{
    return exchange == other.exchange && configured == other.configured &&
           registrationURL == other.registrationURL && accounts == other.accounts;
}

bool haveSameRows(const std::vector<ExchangeBlockContent>& a,
                  const std::vector<ExchangeBlockContent>& b)
{
    return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                      [](const auto& x, const auto& y) { return x.hasSameRows(y); });
}

}  // namespace vantrell
