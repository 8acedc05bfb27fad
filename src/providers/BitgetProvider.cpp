#include "providers/BitgetProvider.h"

#include "concurrency/RequestFanOut.h"
#include "concurrency/TaskJoin.h"
#include "providers/BitgetClassicSnapshot.h"
#include "providers/BitgetUnifiedSnapshot.h"
#include "providers/common/ConnectorRequest.h"
#include "providers/common/OptionalCall.h"
#include "providers/common/RequestSigner.h"
#include "providers/common/SignaturePrehash.h"
#include "providers/common/ValuationLadder.h"

#include <algorithm>
#include <iterator>

namespace vantrell {

namespace {

const QString unifiedAssetsPath = QStringLiteral("/api/v3/account/assets");
const QString fundingAssetsPath = QStringLiteral("/api/v3/account/funding-assets");
const QString unifiedPositionsPath = QStringLiteral("/api/v3/position/current-position");
const QString tickersPath = QStringLiteral("/api/v2/spot/market/tickers");
const QString spotAssetsPath = QStringLiteral("/api/v2/spot/account/assets");
const QString futuresAccountsPath = QStringLiteral("/api/v2/mix/account/accounts");
const QString classicPositionsPath = QStringLiteral("/api/v2/mix/position/all-position");

const QString categoryKey = QStringLiteral("category");
const QString productTypeKey = QStringLiteral("productType");

constexpr OptionalCallRule optionalRule = OptionalCallRule::allButRateLimit;

template <typename T>
using OptionalEnvelope = std::optional<BitgetEnvelope<T>>;

// The rows of one group member's data.
template <typename Row>
std::vector<Row> rowsOf(std::vector<Row>&& rows)
{
    return std::move(rows);
}

std::vector<BitgetUTAPosition> rowsOf(BitgetUTAPositionList&& positions)
{
    return std::move(positions.list);
}

// The text the user would see for a failure.
QString userFacingText(const std::exception_ptr& failure)
{
    try {
        std::rethrow_exception(failure);
    } catch (const ExchangeAPIError& error) {
        return error.errorDescription();
    } catch (const std::exception& error) {
        return QString::fromUtf8(error.what());
    } catch (...) {
        return {};
    }
}

}  // namespace

BitgetProvider::BitgetProvider(BitgetCredentials credentials, ExchangeHTTPClient client,
                               const ExchangeEndpoints& endpoints, const Clock& clock)
    : m_credentials(std::move(credentials)),
      m_client(std::move(client)),
      m_baseURL(endpoints.bitget),
      m_clock(&clock)
{
}

QCoro::Task<ExchangeProviderSnapshot> BitgetProvider::fetchSnapshot() const
{
    const BitgetProvider self = *this;
    self.requireSendableCredentials();

    // The two paths run one after the other, never together.
    std::exception_ptr unifiedFailure;
    try {
        auto unified = fetchUTASnapshot(self);
        ExchangeProviderSnapshot snapshot = co_await unified;
        co_return snapshot;
    } catch (...) {
        unifiedFailure = std::current_exception();
    }
    if (endsFallback(unifiedFailure)) {
        std::rethrow_exception(unifiedFailure);
    }
    std::exception_ptr classicFailure;
    try {
        auto classic = fetchClassicSnapshot(self);
        ExchangeProviderSnapshot snapshot = co_await classic;
        co_return snapshot;
    } catch (...) {
        classicFailure = std::current_exception();
    }
    std::rethrow_exception(failureOfBothPaths(unifiedFailure, classicFailure));
}

QCoro::Task<void> BitgetProvider::testConnection() const
{
    const BitgetProvider self = *this;
    self.requireSendableCredentials();

    std::exception_ptr unifiedFailure;
    try {
        auto probe = checked(
            signedGET<BitgetEnvelope<BitgetUTAAssets>>(self, unifiedAssetsPath, {}, nullptr));
        // Only success matters; the reply is bound to a local, not left as a temporary.
        [[maybe_unused]] const BitgetUTAAssets assets = co_await probe;
        co_return;
    } catch (...) {
        unifiedFailure = std::current_exception();
    }
    if (endsFallback(unifiedFailure)) {
        std::rethrow_exception(unifiedFailure);
    }
    std::exception_ptr classicFailure;
    try {
        auto probe = checked(signedGET<BitgetEnvelope<std::vector<BitgetSpotAsset>>>(
            self, spotAssetsPath, {}, nullptr));
        [[maybe_unused]] const std::vector<BitgetSpotAsset> assets = co_await probe;
        co_return;
    } catch (...) {
        classicFailure = std::current_exception();
    }
    std::rethrow_exception(failureOfBothPaths(unifiedFailure, classicFailure));
}

QString BitgetProvider::prehash(const RequestTimestamp& timestamp, const QString& path,
                                const QString& query)
{
    return SignaturePrehash::bitget(timestamp, u"GET", path, query);
}

QString BitgetProvider::signature(const QString& secretKey, const QString& prehash)
{
    return RequestSigner::hmacSha256Base64(secretKey.toUtf8(), prehash.toUtf8());
}

ExchangeAPIError BitgetProvider::envelopeError(const QString& code, const QString& message)
{
    if (!message.isEmpty()) {
        return ExchangeAPIError::api(message);
    }
    return ExchangeAPIError::api(u"Bitget 请求失败（" % code % u"）");
}

PriceMap BitgetProvider::priceMap(const std::vector<BitgetTicker>& tickers)
{
    PriceMap prices;
    prices.reserve(static_cast<qsizetype>(tickers.size()));
    for (const BitgetTicker& ticker : tickers) {
        prices.add(ticker.symbol, ticker.lastPr, PriceMap::KeepRule::nonZeroOnly);
    }
    return prices;
}

Decimal BitgetProvider::usdValue(const QString& asset, const Decimal& quantity,
                                 const PriceMap& prices)
{
    return ValuationLadder::of(Exchange::bitget).usdValue(asset, quantity, prices);
}

std::optional<Position> BitgetProvider::position(const QString& symbol, const QString& side,
                                                 const std::optional<QString>& size,
                                                 const std::optional<QString>& entryPrice,
                                                 const std::optional<QString>& markPrice,
                                                 const std::optional<QString>& unrealizedPnL)
{
    const Decimal amount = Decimal::amountOrZero(size);
    if (amount.isZero()) {
        return std::nullopt;
    }
    Position position;
    position.exchange = Exchange::bitget;
    position.symbol = symbol;
    position.side = side.toLower() == u"short" ? PositionSide::short_ : PositionSide::long_;
    position.quantity = amount.abs();
    position.entryPrice = Decimal::amountOrZero(entryPrice);
    position.markPrice = Decimal::amountOrZero(markPrice);
    position.unrealizedPnL = Decimal::amountOrZero(unrealizedPnL);
    const Decimal cost = (amount * position.entryPrice).abs();
    position.pnlPercent = cost.isZero() ? Decimal() : position.unrealizedPnL / cost * Decimal(100);
    position.notionalValueUSD = (amount * position.markPrice).abs();
    return position;
}

bool BitgetProvider::endsFallback(const std::exception_ptr& failure)
{
    try {
        std::rethrow_exception(failure);
    } catch (const ExchangeAPIError& error) {
        return error.kind() == ExchangeAPIError::Kind::rateLimited ||
               error.kind() == ExchangeAPIError::Kind::network;
    } catch (...) {
        return false;
    }
}

std::exception_ptr BitgetProvider::failureOfBothPaths(const std::exception_ptr& unifiedFailure,
                                                      const std::exception_ptr& classicFailure)
{
    if (endsFallback(classicFailure)) {
        return classicFailure;
    }
    if (userFacingText(classicFailure).contains(unifiedAccountMarker)) {
        return std::make_exception_ptr(ExchangeAPIError::api(unifiedAccountHint.toString()));
    }
    return unifiedFailure;
}

QCoro::Task<ExchangeProviderSnapshot> BitgetProvider::fetchUTASnapshot(BitgetProvider self)
{
    RequestFanOut fan;
    const Token& token = fan.token();
    auto assets = fan.start(
        checked(signedGET<BitgetEnvelope<BitgetUTAAssets>>(self, unifiedAssetsPath, {}, token)));
    auto funding = fan.start(OptionalCall::run(
        optionalRule, checkedOptional(signedGET<OptionalEnvelope<std::vector<BitgetFundingAsset>>>(
                          self, fundingAssetsPath, {}, token))));
    auto positions = fan.start(groupedGET<BitgetUTAPosition, BitgetUTAPositionList>(
        self, unifiedPositionsPath, categoryKey, token));
    auto tickers = fan.start(OptionalCall::run(
        optionalRule, checkedOptional(publicGET<OptionalEnvelope<std::vector<BitgetTicker>>>(
                          self, tickersPath, token))));

    // Each result is bound to a local of its own: g++ 12 mishandles temporaries around
    // co_await.
    BitgetUnifiedReplies replies;
    auto assetsAwait = fan.await(std::move(assets));
    replies.assets = co_await assetsAwait;
    auto fundingAwait = fan.await(std::move(funding));
    replies.funding = co_await fundingAwait;
    auto positionsAwait = fan.await(std::move(positions));
    replies.positions = co_await positionsAwait;
    auto tickersAwait = fan.await(std::move(tickers));
    replies.tickers = co_await tickersAwait;
    co_return BitgetUnifiedSnapshot::assemble(replies);
}

QCoro::Task<ExchangeProviderSnapshot> BitgetProvider::fetchClassicSnapshot(BitgetProvider self)
{
    RequestFanOut fan;
    const Token& token = fan.token();
    auto spot = fan.start(checked(
        signedGET<BitgetEnvelope<std::vector<BitgetSpotAsset>>>(self, spotAssetsPath, {}, token)));
    // Required here, and decoded as a plain envelope.
    auto tickers = fan.start(
        checked(publicGET<BitgetEnvelope<std::vector<BitgetTicker>>>(self, tickersPath, token)));
    auto accounts = fan.start(groupedGET<BitgetFuturesAccount, std::vector<BitgetFuturesAccount>>(
        self, futuresAccountsPath, productTypeKey, token));
    auto positions =
        fan.start(groupedGET<BitgetClassicPosition, std::vector<BitgetClassicPosition>>(
            self, classicPositionsPath, productTypeKey, token));

    BitgetClassicReplies replies;
    auto spotAwait = fan.await(std::move(spot));
    replies.spotAssets = co_await spotAwait;
    auto tickersAwait = fan.await(std::move(tickers));
    replies.tickers = co_await tickersAwait;
    auto accountsAwait = fan.await(std::move(accounts));
    replies.futuresAccounts = co_await accountsAwait;
    auto positionsAwait = fan.await(std::move(positions));
    replies.positions = co_await positionsAwait;
    co_return BitgetClassicSnapshot::assemble(replies);
}

template <typename T>
QCoro::Task<T> BitgetProvider::signedGET(BitgetProvider self, QString path,
                                         RequestParameters parameters, Token cancellation)
{
    HttpRequest request = self.signedRequest(path, parameters, std::move(cancellation));
    auto sending = self.m_client.send<T>(std::move(request));
    T reply = co_await sending;
    co_return reply;
}

template <typename T>
QCoro::Task<T> BitgetProvider::publicGET(BitgetProvider self, QString path, Token cancellation)
{
    HttpRequest request =
        ConnectorRequest::publicGET(self.m_baseURL % path, std::move(cancellation));
    auto sending = self.m_client.send<T>(std::move(request));
    T reply = co_await sending;
    co_return reply;
}

template <typename T>
QCoro::Task<T> BitgetProvider::checked(QCoro::Task<BitgetEnvelope<T>> call)
{
    BitgetEnvelope<T> envelope = co_await call;
    co_return validatedData(std::move(envelope));
}

template <typename T>
QCoro::Task<std::optional<T>> BitgetProvider::checkedOptional(
    QCoro::Task<std::optional<BitgetEnvelope<T>>> call)
{
    std::optional<BitgetEnvelope<T>> envelope = co_await call;
    if (!envelope) {
        co_return std::nullopt;
    }
    co_return validatedData(std::move(*envelope));
}

template <typename Row, typename Data>
QCoro::Task<std::optional<std::vector<Row>>> BitgetProvider::groupedGET(BitgetProvider self,
                                                                        QString path, QString key,
                                                                        Token cancellation)
{
    // The members share a token of their own, so a rate-limited member stops its siblings
    // without aborting the fetch's other calls: their errors may come first in the await order.
    const Token group = CancellationToken::create();
    const std::weak_ptr<CancellationToken> weakGroup = group;
    const int link = cancellation ? cancellation->onCancel([weakGroup] {
        if (const Token member = weakGroup.lock()) {
            member->cancel();
        }
    })
                                  : 0;

    TaskJoin<std::optional<std::vector<Row>>> join;
    for (const QStringView type : futuresTypes) {
        join.add(groupMember<Row, Data>(self, path, {{key, type.toString()}}, group));
    }
    // Rows are appended in the order the members finish.
    std::vector<Row> rows;
    bool complete = true;
    std::exception_ptr failure;
    while (join.remaining() > 0) {
        try {
            auto next = join.next();
            auto finished = co_await next;
            if (!finished) {
                break;
            }
            if (!finished->value) {
                complete = false;
            } else {
                std::move(finished->value->begin(), finished->value->end(),
                          std::back_inserter(rows));
            }
        } catch (...) {
            if (!failure) {
                failure = std::current_exception();
                group->cancel();
            }
        }
    }
    if (cancellation) {
        cancellation->removeCallback(link);
    }
    if (failure) {
        std::rethrow_exception(failure);
    }
    if (!complete) {
        co_return std::nullopt;
    }
    co_return rows;
}

template <typename Row, typename Data>
QCoro::Task<std::optional<std::vector<Row>>> BitgetProvider::groupMember(
    BitgetProvider self, QString path, RequestParameters parameters, Token cancellation)
{
    auto call = OptionalCall::run(
        optionalRule, checked(signedGET<BitgetEnvelope<Data>>(self, path, std::move(parameters),
                                                              std::move(cancellation))));
    std::optional<Data> data = co_await call;
    if (!data) {
        co_return std::nullopt;
    }
    co_return rowsOf(std::move(*data));
}

HttpRequest BitgetProvider::signedRequest(const QString& path, const RequestParameters& parameters,
                                          Token cancellation) const
{
    const RequestTimestamp timestamp = RequestTimestamp::now(*m_clock);
    const QString query = QueryString::encoded(parameters);
    // The same query text is signed and sent; no "?" is ever sent alone.
    const QString sign = signature(m_credentials.secretKey, prehash(timestamp, path, query));
    QString url = m_baseURL % path;
    if (!query.isEmpty()) {
        url += u'?' % query;
    }
    return ConnectorRequest::signedRequest(QByteArrayLiteral("GET"), url,
                                           {{"ACCESS-KEY", m_credentials.apiKey},
                                            {"ACCESS-SIGN", sign},
                                            {"ACCESS-TIMESTAMP", timestamp.millisecondsText()},
                                            {"ACCESS-PASSPHRASE", m_credentials.passphrase},
                                            {"Content-Type", QStringLiteral("application/json")},
                                            // Bitget then answers in Chinese, which is what the
                                            // unified-account marker is searched for in.
                                            {"locale", QStringLiteral("zh-CN")}},
                                           std::move(cancellation));
}

void BitgetProvider::requireSendableCredentials() const
{
    ConnectorRequest::requireHeaderSafe({m_credentials.apiKey, m_credentials.passphrase});
}

}  // namespace vantrell
