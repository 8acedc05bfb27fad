#pragma once

#include "models/Clock.h"
#include "models/ExchangeCredentials.h"
#include "networking/ExchangeHTTPClient.h"
#include "providers/ExchangeEndpoints.h"
#include "providers/ExchangeProvider.h"
#include "providers/OKXReplies.h"
#include "providers/common/PriceMap.h"

#include <QString>

#include <memory>
#include <optional>
#include <vector>

namespace vantrell {

class CancellationToken;
struct HttpRequest;

// Reads one OKX account with a read-only key: the trading account, the funding account, the
// open positions and the public spot tickers, valued in US dollars.
//
// Every OKX reply is wrapped in an envelope whose "code" must be "0". The envelopes of the
// three required calls are checked only after every call has arrived, so a failed transfer of
// a later call wins over a refused envelope of an earlier one; the positions envelope is
// checked inside its optional call, so a refused one only leaves the positions out. Trading
// rows carry the exchange's own US-dollar equity; only funding rows go through the valuation
// ladder.
//
// An immutable value: it keeps nothing between calls, and each signed request reads the clock
// for its own timestamp.
class OKXProvider final : public ExchangeProvider {
public:
    OKXProvider(OKXCredentials credentials, ExchangeHTTPClient client,
                const ExchangeEndpoints& endpoints = ExchangeEndpoints::production(),
                const Clock& clock = Clock::system());

    Exchange exchange() const override { return m_exchange; }
    const OKXCredentials& credentials() const { return m_credentials; }
    const QString& baseURL() const { return m_baseURL; }

    QCoro::Task<ExchangeProviderSnapshot> fetchSnapshot() const override;
    // The signed trading-balance call and its envelope check; the data is discarded.
    QCoro::Task<void> testConnection() const override;

    // Throws ExchangeAPIError::api unless the code is "0": the reply's message, or a text
    // naming the code when the message is empty.
    static void validate(const OKXEnvelopeStatus& envelope);

    // The decisions of a snapshot, free of any request.
    static PriceMap priceMap(const std::vector<OKXTicker>& rows);
    static Decimal usdValue(const QString& asset, const Decimal& quantity, const PriceMap& prices);
    static std::optional<Position> mapPosition(const OKXPositionResponse& row);
    static ExchangeProviderSnapshot assemble(const OKXReplies& replies);

private:
    using PositionsEnvelope = OKXEnvelope<std::vector<OKXPositionResponse>>;

    // The coroutines take the provider by value: they run concurrently inside one fetch and
    // must not depend on the caller's object. Neither request checks the envelope's code.
    template <typename T>
    static QCoro::Task<OKXEnvelope<T>> signedGET(OKXProvider self, QString path,
                                                 std::shared_ptr<CancellationToken> cancellation);
    template <typename T>
    static QCoro::Task<OKXEnvelope<T>> publicGET(OKXProvider self, QString path,
                                                 std::shared_ptr<CancellationToken> cancellation);
    // The positions envelope, or nothing when the positions cannot be read; a rate limit is
    // thrown on.
    static QCoro::Task<std::optional<PositionsEnvelope>> optionalPositions(
        OKXProvider self, std::shared_ptr<CancellationToken> cancellation);
    static QCoro::Task<PositionsEnvelope> validatedPositions(
        OKXProvider self, std::shared_ptr<CancellationToken> cancellation);

    // The signed GET of `path` (query included), timestamped now. Throws missingCredentials or
    // invalidURL.
    HttpRequest signedRequest(const QString& path,
                              std::shared_ptr<CancellationToken> cancellation) const;
    void requireSendableCredentials() const;

    Exchange m_exchange = Exchange::okx;
    OKXCredentials m_credentials;
    ExchangeHTTPClient m_client;
    QString m_baseURL;
    const Clock* m_clock;
};

}  // namespace vantrell
