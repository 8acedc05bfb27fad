#include "store/PortfolioRefreshState.h"

namespace vantrell {

ExchangeRefreshStatus PortfolioRefreshState::status(Exchange exchange) const
{
    const auto found = statuses.find(exchange);
    return found == statuses.end() ? ExchangeRefreshStatus{} : found->second;
}

void PortfolioRefreshState::resetForNewIdentity()
{
    snapshot = PortfolioSnapshot{};
    quality.clear();
    components.clear();
    // Server waits go too: they are kept per credential set like everything else here.
    backoffs.clear();
    statuses.clear();
}

void PortfolioRefreshState::markUnconfigured(const std::set<Exchange>& configured)
{
    for (Exchange exchange : allExchanges) {
        if (!configured.contains(exchange)) {
            statuses[exchange] = {ExchangeRefreshStatus::State::unconfigured(),
                                  status(exchange).lastSuccess, QString()};
        }
    }
}

std::vector<Exchange> PortfolioRefreshState::markEligible(const std::vector<Exchange>& exchanges,
                                                          Date now, bool force)
{
    std::vector<Exchange> eligible;
    for (Exchange exchange : exchanges) {
        const auto backoff = backoffs.find(exchange);
        if (backoff != backoffs.end() && !backoff->second.isEligible(now, force)) {
            continue;
        }
        const ExchangeRefreshStatus previous = status(exchange);
        statuses[exchange] = {ExchangeRefreshStatus::State::connecting(), previous.lastSuccess,
                              previous.detail};
        eligible.push_back(exchange);
    }
    return eligible;
}

}  // namespace vantrell
