#pragma once

#include "models/Exchange.h"
#include "providers/AccountProviderConnection.h"
#include "providers/ExchangeProvider.h"
#include "security/LocalCredentialStore.h"
#include "store/PortfolioRefreshState.h"

#include <functional>
#include <memory>
#include <vector>

namespace vantrell {

// The connector of one exchange built from the credentials of one scope (the main accounts or
// one additional account); null when a value the exchange needs is missing. Building one sends
// nothing over the network.
using ProviderFactory = std::function<std::shared_ptr<const ExchangeProvider>(
    const LocalCredentialStore& credentials, Exchange exchange)>;

// Which exchanges have usable accounts and the provider that refreshes each of them. The same
// test decides both, so an exchange counts as configured exactly when the refresh cycle has a
// provider for it.
class ConfiguredProviders {
public:
    // The exchange's usable accounts: the main account first (id = the exchange's case name,
    // alias "默认账户"), then the additional accounts of the exchange in stored order. Accounts
    // with incomplete credentials are left out, and so is a listed account whose id was listed
    // before it or is a main account's id: each connection id stands for one account.
    static std::vector<AccountProviderConnection> connections(
        const LocalCredentialStore& credentials, const ProviderFactory& factory, Exchange exchange);

    // One multi-account provider per exchange with a usable account, in the exchanges' order,
    // seeded with the exchange's earlier per-connection results.
    static std::vector<std::shared_ptr<const ExchangeProvider>> providers(
        const LocalCredentialStore& credentials, const ProviderFactory& factory,
        const PortfolioRefreshState::Components& previous);

    static bool isConfigured(const LocalCredentialStore& credentials,
                             const ProviderFactory& factory, Exchange exchange);
    // The exchanges that pass isConfigured, in the exchanges' order.
    static std::vector<Exchange> exchanges(const LocalCredentialStore& credentials,
                                           const ProviderFactory& factory);

    static const QString mainAccountAlias;  // "默认账户"
};

}  // namespace vantrell
