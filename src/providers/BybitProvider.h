#pragma once

#include "models/Clock.h"
#include "models/ExchangeCredentials.h"
#include "networking/ExchangeHTTPClient.h"
#include "providers/BybitReplies.h"
#include "providers/ExchangeEndpoints.h"
#include "providers/ExchangeProvider.h"
#include "providers/common/PriceMap.h"
#include "providers/common/QueryString.h"

#include <QString>
#include <QStringView>

#include <memory>
#include <optional>

namespace vantrell {

class CancellationToken;
struct HttpRequest;

// Reads one Bybit account with a read-only key through the v5 API: the unified trading
// account's wallet, the funding account's coins, the open linear positions settled in USDT and
// in USDC, and the public spot tickers, valued in US dollars.
//
// Every v5 reply is framed by an envelope whose non-zero `retCode` refuses the request. The
// optional calls check theirs inside the call, so a refusal leaves their part out; the wallet
// and tickers envelopes are checked only after all five calls have ended, so a failure of any
// call (a rate limit on an optional one included) wins over a refusal in either envelope.
//
// An immutable value: it keeps nothing between calls, and each request reads the clock for its
// own timestamp.
class BybitProvider final : public ExchangeProvider {
public:
    // How long after its timestamp the exchange still accepts a request; sent and signed.
    static constexpr QStringView defaultReceiveWindow = u"5000";

    BybitProvider(BybitCredentials credentials, ExchangeHTTPClient client,
                  const ExchangeEndpoints& endpoints = ExchangeEndpoints::production(),
                  const Clock& clock = Clock::system(),
                  QString receiveWindow = defaultReceiveWindow.toString());

    Exchange exchange() const override { return m_exchange; }
    const BybitCredentials& credentials() const { return m_credentials; }
    const QString& baseURL() const { return m_baseURL; }
    const QString& receiveWindow() const { return m_receiveWindow; }

    QCoro::Task<ExchangeProviderSnapshot> fetchSnapshot() const override;
    // The signed wallet call and its envelope check; the reply is discarded. Every error is
    // thrown.
    QCoro::Task<void> testConnection() const override;

    // The decisions of a snapshot, free of any request.
    static QString queryString(const RequestParameters& parameters);
    static Decimal usdValue(const QString& asset, const Decimal& quantity, const PriceMap& prices);
    // Throws ExchangeAPIError::api for a non-zero `retCode`: `retMsg`, or when that is empty
    // "Bybit 请求失败（<code>）".
    template <typename T>
    static void validate(const BybitEnvelope<T>& envelope)
    {
        validateReturnCode(envelope.retCode, envelope.retMsg);
    }
    static void validateReturnCode(int retCode, const QString& retMsg);
    static ExchangeProviderSnapshot assemble(const BybitReplies& replies);

private:
    // The coroutines take the provider by value: they run concurrently inside one fetch and
    // must not depend on the caller's object.

    // Signs and sends a GET; the envelope comes back unchecked.
    template <typename T>
    static QCoro::Task<BybitEnvelope<T>> signedGET(BybitProvider self, QString path,
                                                   RequestParameters parameters,
                                                   std::shared_ptr<CancellationToken> cancellation);
    // signedGET(), then validate().
    template <typename T>
    static QCoro::Task<BybitEnvelope<T>> validatedGET(
        BybitProvider self, QString path, RequestParameters parameters,
        std::shared_ptr<CancellationToken> cancellation);
    // validatedGET() under the optional-call rule: nothing for every failure but a rate limit.
    template <typename T>
    static QCoro::Task<std::optional<BybitEnvelope<T>>> optionalSignedGET(
        BybitProvider self, QString path, RequestParameters parameters,
        std::shared_ptr<CancellationToken> cancellation);
    // An unsigned GET; the envelope comes back unchecked.
    template <typename T>
    static QCoro::Task<BybitEnvelope<T>> publicGET(BybitProvider self, QString path,
                                                   RequestParameters parameters,
                                                   std::shared_ptr<CancellationToken> cancellation);

    // The signed request, timestamped now. Throws missingCredentials or invalidURL.
    HttpRequest signedRequest(const QString& path, const RequestParameters& parameters,
                              std::shared_ptr<CancellationToken> cancellation) const;
    void requireSendableCredentials() const;

    Exchange m_exchange = Exchange::bybit;
    BybitCredentials m_credentials;
    ExchangeHTTPClient m_client;
    QString m_baseURL;
    QString m_receiveWindow;
    const Clock* m_clock;
};

}  // namespace vantrell
