#pragma once

#include "models/Clock.h"
#include "models/ExchangeCredentials.h"
#include "networking/ExchangeAPIError.h"
#include "networking/ExchangeHTTPClient.h"
#include "providers/BinanceReplies.h"
#include "providers/ExchangeEndpoints.h"
#include "providers/ExchangeProvider.h"
#include "providers/common/PriceMap.h"
#include "providers/common/QueryString.h"

#include <QByteArray>
#include <QString>
#include <QStringView>

#include <memory>
#include <optional>

namespace vantrell {

class CancellationToken;
struct HttpRequest;

// Reads one Binance account with a read-only key: the spot account, the USD-M futures account
// and its open positions, the funding wallet and the public spot prices, valued in US dollars.
//
// Binance differs from the other exchanges in three ways: its query text is signed unencoded
// and carries the signature as a parameter; its funding call is a body-less POST; and its
// optional calls are left out only when the exchange says the key cannot read that account
// (OptionalCallRule::unavailableAccountScopeOnly), every other failure ending the fetch.
//
// An immutable value: it keeps nothing between calls, and each request reads the clock for its
// own timestamp.
class BinanceProvider final : public ExchangeProvider {
public:
    static constexpr QStringView receiveWindow = u"5000";

    BinanceProvider(BinanceCredentials credentials, ExchangeHTTPClient client,
                    const ExchangeEndpoints& endpoints = ExchangeEndpoints::production(),
                    const Clock& clock = Clock::system());

    Exchange exchange() const override { return m_exchange; }
    const BinanceCredentials& credentials() const { return m_credentials; }
    const QString& spotBaseURL() const { return m_spotBaseURL; }
    const QString& futuresBaseURL() const { return m_futuresBaseURL; }

    QCoro::Task<ExchangeProviderSnapshot> fetchSnapshot() const override;
    // The signed spot account call; its reply is discarded. Every error is thrown.
    QCoro::Task<void> testConnection() const override;

    // The decisions of a snapshot, free of any request.
    static PriceMap priceMap(const std::vector<BinancePriceResponse>& rows);
    static Decimal usdValue(const QString& asset, const Decimal& quantity, const PriceMap& prices);
    static std::optional<Position> mapPosition(const BinancePositionResponse& row);
    static ExchangeProviderSnapshot assemble(const BinanceReplies& replies);

private:
    // The coroutines take the provider by value: they run concurrently inside one fetch and
    // must not depend on the caller's object.
    template <typename T>
    static QCoro::Task<T> signedCall(BinanceProvider self, QByteArray method, QString baseURL,
                                     QString path, RequestParameters parameters,
                                     std::shared_ptr<CancellationToken> cancellation);
    template <typename T>
    static QCoro::Task<T> publicGET(BinanceProvider self, QString baseURL, QString path,
                                    std::shared_ptr<CancellationToken> cancellation);

    // The signed request, timestamped now. Throws missingCredentials or invalidURL.
    HttpRequest signedRequest(const QByteArray& method, const QString& baseURL, const QString& path,
                              RequestParameters parameters,
                              std::shared_ptr<CancellationToken> cancellation) const;
    void requireSendableCredentials() const;

    Exchange m_exchange = Exchange::binance;
    BinanceCredentials m_credentials;
    ExchangeHTTPClient m_client;
    QString m_spotBaseURL;
    QString m_futuresBaseURL;
    const Clock* m_clock;
};

}  // namespace vantrell
