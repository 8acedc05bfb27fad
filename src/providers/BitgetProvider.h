#pragma once

#include "models/Clock.h"
#include "models/ExchangeCredentials.h"
#include "networking/ExchangeAPIError.h"
#include "networking/ExchangeHTTPClient.h"
#include "providers/BitgetReplies.h"
#include "providers/ExchangeEndpoints.h"
#include "providers/ExchangeProvider.h"
#include "providers/common/PriceMap.h"
#include "providers/common/QueryString.h"
#include "providers/common/RequestTimestamp.h"

#include <QString>
#include <QStringView>

#include <array>
#include <exception>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

namespace vantrell {

class CancellationToken;
struct HttpRequest;

// Reads one Bitget account with a read-only key, secret and passphrase, valued in US dollars.
//
// A key may belong to a unified account (the V3 API) or to a classic one (the V2 spot and
// futures API), and nothing tells which before asking. The unified account is read first; when
// that fails for any reason but a rate limit or a network failure, the classic account is read
// (BitgetClassicSnapshot). When both fail the unified error is reported, unless the classic
// error says the key belongs to a unified account: then a hint tells the user to create a V3
// key. The connection test follows the same order with one call per path.
//
// Calls that Bitget splits by futures product type (the unified positions, the classic futures
// accounts and positions) are sent as one request per type and read as one group: a rate limit
// of any member ends the fetch, any other failure of a member leaves the whole group out.
//
// An immutable value: it keeps nothing between calls, and each request reads the clock for its
// own timestamp.
class BitgetProvider final : public ExchangeProvider {
public:
    // The envelope code of a successful reply.
    static constexpr QStringView successCode = u"00000";
    // Searched in the classic path's error: the key belongs to a unified account.
    static constexpr QStringView unifiedAccountMarker = u"统一账户模式";
    static constexpr QStringView unifiedAccountHint =
        u"当前 API Key 不支持统一账户 V3，请在 Bitget 统一账户中重新创建只读 API";
    // The product types of the grouped futures calls, in this order.
    static constexpr std::array<QStringView, 3> futuresTypes = {u"USDT-FUTURES", u"USDC-FUTURES",
                                                                u"COIN-FUTURES"};

    BitgetProvider(BitgetCredentials credentials, ExchangeHTTPClient client,
                   const ExchangeEndpoints& endpoints = ExchangeEndpoints::production(),
                   const Clock& clock = Clock::system());

    Exchange exchange() const override { return m_exchange; }
    const BitgetCredentials& credentials() const { return m_credentials; }
    const QString& baseURL() const { return m_baseURL; }

    // The unified snapshot, else the classic one (see the class comment).
    QCoro::Task<ExchangeProviderSnapshot> fetchSnapshot() const override;
    // The unified assets call, else the classic spot assets call, each with its envelope check.
    QCoro::Task<void> testConnection() const override;

    // The decisions of a fetch, free of any request.

    // The signed text of a GET: milliseconds, "GET", the path, and "?" + the query text
    // (QueryString::encoded) when there is one.
    static QString prehash(const RequestTimestamp& timestamp, const QString& path,
                           const QString& query);
    // Base64 of HMAC-SHA256 over the prehash, keyed with the secret.
    static QString signature(const QString& secretKey, const QString& prehash);

    // The envelope's data when its code is the success code; `invalidResponse` when that data
    // is absent, `api` with the exchange's message (or a fallback naming the code) otherwise.
    template <typename T>
    static T validatedData(BitgetEnvelope<T> envelope)
    {
        if (envelope.code != successCode) {
            throw envelopeError(envelope.code, envelope.msg);
        }
        if (!envelope.data) {
            throw ExchangeAPIError::invalidResponse();
        }
        return std::move(*envelope.data);
    }
    static ExchangeAPIError envelopeError(const QString& code, const QString& message);

    // Only tickers with a present, non-zero price enter the map.
    static PriceMap priceMap(const std::vector<BitgetTicker>& tickers);
    // The asset is upper-cased for the stablecoin test and the look-ups.
    static Decimal usdValue(const QString& asset, const Decimal& quantity, const PriceMap& prices);
    // A position from its texts; nothing when the size is 0. Short only for a side reading
    // "short" in any letter case.
    static std::optional<Position> position(const QString& symbol, const QString& side,
                                            const std::optional<QString>& size,
                                            const std::optional<QString>& entryPrice,
                                            const std::optional<QString>& markPrice,
                                            const std::optional<QString>& unrealizedPnL);

    // Whether a failure of the first path is reported at once instead of trying the second: a
    // rate limit or a network failure would hit the second path just the same.
    static bool endsFallback(const std::exception_ptr& failure);
    // What to report when both paths failed and the first did not end the fallback.
    static std::exception_ptr failureOfBothPaths(const std::exception_ptr& unifiedFailure,
                                                 const std::exception_ptr& classicFailure);

private:
    using Token = std::shared_ptr<CancellationToken>;

    // The coroutines take the provider by value: they run concurrently inside one fetch and
    // must not depend on the caller's object.
    static QCoro::Task<ExchangeProviderSnapshot> fetchUTASnapshot(BitgetProvider self);
    static QCoro::Task<ExchangeProviderSnapshot> fetchClassicSnapshot(BitgetProvider self);

    template <typename T>
    static QCoro::Task<T> signedGET(BitgetProvider self, QString path, RequestParameters parameters,
                                    Token cancellation);
    template <typename T>
    static QCoro::Task<T> publicGET(BitgetProvider self, QString path, Token cancellation);
    // The call's envelope, checked: every failure is thrown.
    template <typename T>
    static QCoro::Task<T> checked(QCoro::Task<BitgetEnvelope<T>> call);
    // An optional envelope, checked: nothing for a null body; a failed check is thrown (the
    // optional-call rule then yields nothing for it).
    template <typename T>
    static QCoro::Task<std::optional<T>> checkedOptional(
        QCoro::Task<std::optional<BitgetEnvelope<T>>> call);
    // One request per futures type with `key` = the type; nothing when any member failed.
    template <typename Row, typename Data>
    static QCoro::Task<std::optional<std::vector<Row>>> groupedGET(BitgetProvider self,
                                                                   QString path, QString key,
                                                                   Token cancellation);
    template <typename Row, typename Data>
    static QCoro::Task<std::optional<std::vector<Row>>> groupMember(BitgetProvider self,
                                                                    QString path,
                                                                    RequestParameters parameters,
                                                                    Token cancellation);

    // The signed request, timestamped now. Throws missingCredentials or invalidURL.
    HttpRequest signedRequest(const QString& path, const RequestParameters& parameters,
                              Token cancellation) const;
    void requireSendableCredentials() const;

    Exchange m_exchange = Exchange::bitget;
    BitgetCredentials m_credentials;
    ExchangeHTTPClient m_client;
    QString m_baseURL;
    const Clock* m_clock;
};

}  // namespace vantrell
