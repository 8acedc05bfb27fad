#pragma once

#include "models/Clock.h"
#include "models/ExchangeCredentials.h"
#include "networking/ExchangeHTTPClient.h"
#include "providers/ExchangeEndpoints.h"
#include "providers/ExchangeProvider.h"
#include "providers/GateReplies.h"
#include "providers/common/PriceMap.h"
#include "providers/common/QueryString.h"

#include <QString>

#include <memory>
#include <optional>

namespace vantrell {

class CancellationToken;
struct HttpRequest;

// Reads one Gate account with a read-only key: the spot balances, the USDT-settled futures
// account and its open positions, and the public spot tickers, valued in US dollars.
//
// Gate differs from the other exchanges in its signing: whole-second timestamps, HMAC-SHA512
// over five lines that include the SHA-512 of the (always empty) body, and the "/api/v4"
// prefix in front of every path both in the URL and in the signed text. Its replies carry no
// envelope; the futures account and the positions are optional calls that only a rate limit
// turns into a failed fetch. A user who never opened a futures account has an empty one: Gate's
// refusal of those two calls for such a user is not a failure.
//
// An immutable value: it keeps nothing between calls, and each request reads the clock for its
// own timestamp.
class GateProvider final : public ExchangeProvider {
public:
    GateProvider(GateCredentials credentials, ExchangeHTTPClient client,
                 const ExchangeEndpoints& endpoints = ExchangeEndpoints::production(),
                 const Clock& clock = Clock::system());

    Exchange exchange() const override { return m_exchange; }
    const GateCredentials& credentials() const { return m_credentials; }
    const QString& baseURL() const { return m_baseURL; }
    const QString& prefix() const { return m_prefix; }

    QCoro::Task<ExchangeProviderSnapshot> fetchSnapshot() const override;
    // The signed spot accounts call; its reply is discarded. Every error is thrown.
    QCoro::Task<void> testConnection() const override;

    // The decisions of a snapshot, free of any request.
    static QString queryString(const RequestParameters& parameters);
    static Decimal usdValue(const QString& asset, const Decimal& quantity, const PriceMap& prices);
    // The futures account's value in USDT: the cross-margin balance when it is not 0, else the
    // total plus the unrealised profit; 0 when the account could not be read.
    static Decimal futuresValue(const std::optional<GateFuturesAccount>& account);
    static std::optional<Position> mapPosition(const GatePosition& row);
    static ExchangeProviderSnapshot assemble(const GateReplies& replies);
    // Gate's answer to the futures calls of a user without a futures account (one is opened by
    // the first transfer into it): HTTP 400 with the label "USER_NOT_FOUND".
    static bool isNoFuturesAccount(const ExchangeAPIError& error);

private:
    // The coroutines take the provider by value: they run concurrently inside one fetch and
    // must not depend on the caller's object.
    template <typename T>
    static QCoro::Task<T> signedGET(GateProvider self, QString path, RequestParameters parameters,
                                    std::shared_ptr<CancellationToken> cancellation);
    // Nothing for a JSON null body and for every failure but a rate limit. Only the futures
    // calls are optional: without a futures account, their reply is empty (T{}).
    template <typename T>
    static QCoro::Task<std::optional<T>> optionalSignedGET(
        GateProvider self, QString path, RequestParameters parameters,
        std::shared_ptr<CancellationToken> cancellation);
    // The futures call's reply, or an empty one when Gate says there is no futures account.
    template <typename T>
    static QCoro::Task<std::optional<T>> emptyWithoutFuturesAccount(
        QCoro::Task<std::optional<T>> call);
    template <typename T>
    static QCoro::Task<T> publicGET(GateProvider self, QString path,
                                    std::shared_ptr<CancellationToken> cancellation);

    // The signed GET, timestamped now. Throws missingCredentials or invalidURL.
    HttpRequest signedRequest(const QString& path, const RequestParameters& parameters,
                              std::shared_ptr<CancellationToken> cancellation) const;
    void requireSendableCredentials() const;

    Exchange m_exchange = Exchange::gateio;
    GateCredentials m_credentials;
    ExchangeHTTPClient m_client;
    QString m_baseURL;
    QString m_prefix;
    const Clock* m_clock;
};

}  // namespace vantrell
