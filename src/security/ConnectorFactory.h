#pragma once

#include "models/Clock.h"
#include "models/Exchange.h"
#include "providers/ExchangeEndpoints.h"

#include <memory>
#include <optional>

namespace vantrell {

class ExchangeHTTPClient;
class ExchangeProvider;
class HttpTransport;
class LocalCredentialStore;

// Builds the connector of one exchange from the credentials a store reads. The
// application only ever uses the default factory, through
// LocalCredentialStore::provider(); tests point another one at a loopback
// server and a fake transport.
//
// Building reads the store and nothing else: it sends no request and keeps
// nothing, so a key changed in the store is used by the next connector built.
class ConnectorFactory {
public:
    // The exchanges' production hosts, the process-wide transport and the wall
    // clock.
    ConnectorFactory();
    ConnectorFactory(ExchangeEndpoints endpoints, HttpTransport& transport,
                     const Clock& clock = Clock::system());

    // The connector for the complete credentials of `exchange` in `store`'s scope
    // (untrimmed, every field non-empty), or null when any field is missing or
    // empty.
    std::shared_ptr<const ExchangeProvider> provider(Exchange exchange,
                                                     const LocalCredentialStore& store) const;

private:
    // The connector over `credentials` and this factory's endpoints, clock and a
    // new client.
    template <typename Connector, typename Credentials, typename... Settings>
    std::shared_ptr<const ExchangeProvider> build(std::optional<Credentials> credentials,
                                                  Settings&&... settings) const;
    // A new client for each connector; made only once credentials were found, so
    // asking for an unconfigured exchange never touches the network layer.
    ExchangeHTTPClient client() const;

    ExchangeEndpoints m_endpoints;
    HttpTransport* m_transport = nullptr;  // null: the process-wide transport
    const Clock* m_clock;
};

}  // namespace vantrell
