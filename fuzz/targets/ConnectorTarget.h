#pragma once

#include <cstddef>
#include <cstdint>

namespace vantrell::fuzz {

enum class Connector { binance, okx, bybit, bitget, gate };

// How one scripted fetch went, for tests of the seed corpus.
struct ConnectorRun {
    bool snapshotSucceeded = false;
    std::size_t snapshotRequests = 0;  // requests the fetch made
    std::size_t scriptedReplies = 0;
    bool connectionSucceeded = false;  // testConnection() on the same script, from its start
};

// Runs the connector's fetchSnapshot() and then its testConnection() against the replies of
// `data` (ReplyScript). Anything thrown that is not an ExchangeAPIError is a fault (fail()).
ConnectorRun runConnector(Connector connector, const std::uint8_t* data, std::size_t size);

}  // namespace vantrell::fuzz
