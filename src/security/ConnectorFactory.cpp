#include "security/ConnectorFactory.h"

#include "networking/ExchangeHTTPClient.h"
#include "providers/BinanceProvider.h"
#include "providers/BitgetProvider.h"
#include "providers/BybitProvider.h"
#include "providers/GateProvider.h"
#include "providers/OKXProvider.h"
#include "security/LocalCredentialStore.h"

#include <utility>

namespace vantrell {

ConnectorFactory::ConnectorFactory()
    : m_endpoints(ExchangeEndpoints::production()), m_clock(&Clock::system())
{
}

ConnectorFactory::ConnectorFactory(ExchangeEndpoints endpoints, HttpTransport& transport,
                                   const Clock& clock)
    : m_endpoints(std::move(endpoints)), m_transport(&transport), m_clock(&clock)
{
}

template <typename Connector, typename Credentials, typename... Settings>
std::shared_ptr<const ExchangeProvider> ConnectorFactory::build(
    std::optional<Credentials> credentials, Settings&&... settings) const
{
    if (!credentials) {
        return nullptr;
    }
    return std::make_shared<const Connector>(std::move(*credentials), client(), m_endpoints,
                                             *m_clock, std::forward<Settings>(settings)...);
}

std::shared_ptr<const ExchangeProvider> ConnectorFactory::provider(
    Exchange exchange, const LocalCredentialStore& store) const
{
    switch (exchange) {
        case Exchange::binance:
            return build<BinanceProvider>(store.binanceCredentials());
        case Exchange::okx:
            return build<OKXProvider>(store.okxCredentials());
        case Exchange::bybit:
            return build<BybitProvider>(store.bybitCredentials(),
                                        BybitProvider::defaultReceiveWindow.toString());
        case Exchange::bitget:
            return build<BitgetProvider>(store.bitgetCredentials());
        case Exchange::gateio:
            return build<GateProvider>(store.gateCredentials());
    }
    return nullptr;
}

ExchangeHTTPClient ConnectorFactory::client() const
{
    return m_transport != nullptr ? ExchangeHTTPClient(*m_transport) : ExchangeHTTPClient();
}

std::shared_ptr<const ExchangeProvider> LocalCredentialStore::provider(Exchange exchange) const
{
    return ConnectorFactory().provider(exchange, *this);
}

}  // namespace vantrell
