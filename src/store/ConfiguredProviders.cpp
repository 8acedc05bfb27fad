#include "store/ConfiguredProviders.h"

#include "providers/MultiAccountProvider.h"

#include <algorithm>
#include <set>

namespace vantrell {

const QString ConfiguredProviders::mainAccountAlias = QStringLiteral("默认账户");

namespace {

bool isMainAccountID(const QString& id)
{
    return std::any_of(allExchanges.begin(), allExchanges.end(),
                       [&](Exchange exchange) { return caseName(exchange) == id; });
}

// The additional accounts of `exchange` in stored order. Results are kept per connection id, so
// an id listed twice, or one that a main account uses, would count one account twice and drop
// another: such entries are left out (the first listing of an id stays).
std::vector<AdditionalExchangeAccount> distinctAccounts(const LocalCredentialStore& credentials,
                                                        Exchange exchange)
{
    std::vector<AdditionalExchangeAccount> accounts;
    std::set<QString> seen;
    for (AdditionalExchangeAccount& account : credentials.additionalAccounts()) {
        if (isMainAccountID(account.id) || !seen.insert(account.id).second) {
            continue;
        }
        if (account.exchange == exchange) {
            accounts.push_back(std::move(account));
        }
    }
    return accounts;
}

}  // namespace

std::vector<AccountProviderConnection> ConfiguredProviders::connections(
    const LocalCredentialStore& credentials, const ProviderFactory& factory, Exchange exchange)
{
    std::vector<AccountProviderConnection> connections;
    if (auto provider = factory(credentials, exchange)) {
        connections.push_back({caseName(exchange), mainAccountAlias, std::move(provider)});
    }
    for (const AdditionalExchangeAccount& account : distinctAccounts(credentials, exchange)) {
        if (auto provider = factory(credentials.forAccount(account.id), exchange)) {
            connections.push_back({account.id, account.alias, std::move(provider)});
        }
    }
    return connections;
}

std::vector<std::shared_ptr<const ExchangeProvider>> ConfiguredProviders::providers(
    const LocalCredentialStore& credentials, const ProviderFactory& factory,
    const PortfolioRefreshState::Components& previous)
{
    std::vector<std::shared_ptr<const ExchangeProvider>> providers;
    for (Exchange exchange : allExchanges) {
        std::vector<AccountProviderConnection> accounts =
            connections(credentials, factory, exchange);
        if (accounts.empty()) {
            continue;
        }
        const auto earlier = previous.find(exchange);
        providers.push_back(std::make_shared<MultiAccountProvider>(
            exchange, std::move(accounts),
            earlier == previous.end() ? MultiAccountProvider::SnapshotMap{} : earlier->second));
    }
    return providers;
}

bool ConfiguredProviders::isConfigured(const LocalCredentialStore& credentials,
                                       const ProviderFactory& factory, Exchange exchange)
{
    if (factory(credentials, exchange)) {
        return true;
    }
    const std::vector<AdditionalExchangeAccount> accounts = distinctAccounts(credentials, exchange);
    return std::any_of(accounts.begin(), accounts.end(), [&](const auto& account) {
        return factory(credentials.forAccount(account.id), exchange) != nullptr;
    });
}

std::vector<Exchange> ConfiguredProviders::exchanges(const LocalCredentialStore& credentials,
                                                     const ProviderFactory& factory)
{
    std::vector<Exchange> configured;
    std::copy_if(allExchanges.begin(), allExchanges.end(), std::back_inserter(configured),
                 [&](Exchange exchange) { return isConfigured(credentials, factory, exchange); });
    return configured;
}

}  // namespace vantrell
