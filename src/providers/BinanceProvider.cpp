#include "providers/BinanceProvider.h"

#include "concurrency/RequestFanOut.h"
#include "providers/common/ConnectorRequest.h"
#include "providers/common/OptionalCall.h"
#include "providers/common/RequestSigner.h"
#include "providers/common/RequestTimestamp.h"
#include "providers/common/SignaturePrehash.h"
#include "providers/common/SnapshotBuilder.h"
#include "providers/common/ValuationLadder.h"

#include <utility>

namespace vantrell {

namespace {

const QString spotAccountPath = QStringLiteral("/api/v3/account");
const QString futuresAccountPath = QStringLiteral("/fapi/v3/account");
const QString positionsPath = QStringLiteral("/fapi/v3/positionRisk");
const QString pricesPath = QStringLiteral("/api/v3/ticker/price");
const QString fundingPath = QStringLiteral("/sapi/v1/asset/get-funding-asset");

const QByteArray get = QByteArrayLiteral("GET");
const QByteArray post = QByteArrayLiteral("POST");

constexpr OptionalCallRule optionalRule = OptionalCallRule::unavailableAccountScopeOnly;

RequestParameters spotAccountParameters()
{
    return {{QStringLiteral("omitZeroBalances"), QStringLiteral("true")}};
}

// The funding quantity: every part of the balance, an absent part counting 0.
Decimal fundingQuantity(const BinanceFundingBalance& row)
{
    return Decimal::amountOrZero(row.free) + Decimal::amountOrZero(row.locked) +
           Decimal::amountOrZero(row.freeze) + Decimal::amountOrZero(row.withdrawing);
}

// A funding row is valued from its BTC valuation when the exchange sent a non-zero one. The
// exchange writes "0" there when no valuation was asked for; taking that literally would value
// every funding balance at 0, so a zero valuation falls back to the ladder like an absent one.
Decimal fundingValue(const BinanceFundingBalance& row, const Decimal& quantity,
                     const Decimal& btcPrice, const PriceMap& prices)
{
    const Decimal btcValuation = Decimal::amountOrZero(row.btcValuation);
    if (!btcValuation.isZero()) {
        return btcValuation * btcPrice;
    }
    return BinanceProvider::usdValue(row.asset, quantity, prices);
}

PositionSide sideOf(const BinancePositionResponse& row, const Decimal& amount)
{
    if (row.positionSide == u"LONG") {
        return PositionSide::long_;
    }
    if (row.positionSide == u"SHORT") {
        return PositionSide::short_;
    }
    // One-way mode ("BOTH") or an unknown text: the sign of the amount decides.
    return amount > Decimal() ? PositionSide::long_ : PositionSide::short_;
}

}  // namespace

BinanceProvider::BinanceProvider(BinanceCredentials credentials, ExchangeHTTPClient client,
                                 const ExchangeEndpoints& endpoints, const Clock& clock)
    : m_credentials(std::move(credentials)),
      m_client(std::move(client)),
      m_spotBaseURL(endpoints.binanceSpot),
      m_futuresBaseURL(endpoints.binanceFutures),
      m_clock(&clock)
{
}

QCoro::Task<ExchangeProviderSnapshot> BinanceProvider::fetchSnapshot() const
{
    const BinanceProvider self = *this;
    self.requireSendableCredentials();

    // Started in this order, awaited in another: the spot account and the prices first.
    RequestFanOut fan;
    const std::shared_ptr<CancellationToken>& token = fan.token();
    auto spot = fan.start(signedCall<BinanceSpotAccountResponse>(
        self, get, self.m_spotBaseURL, spotAccountPath, spotAccountParameters(), token));
    auto futures = fan.start(OptionalCall::run(
        optionalRule, signedCall<std::optional<BinanceFuturesAccountResponse>>(
                          self, get, self.m_futuresBaseURL, futuresAccountPath, {}, token)));
    auto positions = fan.start(OptionalCall::run(
        optionalRule, signedCall<std::optional<std::vector<BinancePositionResponse>>>(
                          self, get, self.m_futuresBaseURL, positionsPath, {}, token)));
    auto prices = fan.start(
        publicGET<std::vector<BinancePriceResponse>>(self, self.m_spotBaseURL, pricesPath, token));
    auto funding = fan.start(OptionalCall::run(
        optionalRule, signedCall<std::optional<std::vector<BinanceFundingBalance>>>(
                          self, post, self.m_spotBaseURL, fundingPath, {}, token)));

    // Each result is bound to a local of its own: g++ 12 mishandles temporaries around
    // co_await.
    auto spotAwait = fan.await(std::move(spot));
    BinanceSpotAccountResponse spotAccount = co_await spotAwait;
    auto pricesAwait = fan.await(std::move(prices));
    std::vector<BinancePriceResponse> priceRows = co_await pricesAwait;
    auto futuresAwait = fan.await(std::move(futures));
    std::optional<BinanceFuturesAccountResponse> futuresAccount = co_await futuresAwait;
    auto positionsAwait = fan.await(std::move(positions));
    std::optional<std::vector<BinancePositionResponse>> positionRows = co_await positionsAwait;
    auto fundingAwait = fan.await(std::move(funding));
    std::optional<std::vector<BinanceFundingBalance>> fundingRows = co_await fundingAwait;

    co_return assemble(BinanceReplies{std::move(spotAccount), std::move(priceRows),
                                      std::move(futuresAccount), std::move(positionRows),
                                      std::move(fundingRows)});
}

QCoro::Task<void> BinanceProvider::testConnection() const
{
    const BinanceProvider self = *this;
    self.requireSendableCredentials();
    auto call = signedCall<BinanceSpotAccountResponse>(
        self, get, self.m_spotBaseURL, spotAccountPath, spotAccountParameters(), {});
    // Only success matters; the reply is bound to a local, not left as a temporary.
    [[maybe_unused]] const BinanceSpotAccountResponse reply = co_await call;
}

PriceMap BinanceProvider::priceMap(const std::vector<BinancePriceResponse>& rows)
{
    PriceMap prices;
    prices.reserve(static_cast<qsizetype>(rows.size()));
    for (const BinancePriceResponse& row : rows) {
        prices.add(row.symbol, row.price);
    }
    return prices;
}

Decimal BinanceProvider::usdValue(const QString& asset, const Decimal& quantity,
                                  const PriceMap& prices)
{
    return ValuationLadder::of(Exchange::binance).usdValue(asset, quantity, prices);
}

std::optional<Position> BinanceProvider::mapPosition(const BinancePositionResponse& row)
{
    const Decimal amount = Decimal::amountOrZero(row.positionAmt);
    if (amount.isZero()) {
        return std::nullopt;
    }
    Position position;
    position.exchange = Exchange::binance;
    position.symbol = row.symbol;
    position.side = sideOf(row, amount);
    position.quantity = amount.abs();
    position.entryPrice = Decimal::amountOrZero(row.entryPrice);
    position.markPrice = Decimal::amountOrZero(row.markPrice);
    position.unrealizedPnL = Decimal::amountOrZero(row.unRealizedProfit);
    const Decimal cost = position.entryPrice * position.quantity;
    position.pnlPercent = cost.isZero() ? Decimal() : position.unrealizedPnL / cost * Decimal(100);
    position.notionalValueUSD = Decimal::amountOrZero(row.notional).abs();
    return position;
}

ExchangeProviderSnapshot BinanceProvider::assemble(const BinanceReplies& replies)
{
    const PriceMap prices = priceMap(replies.prices);
    SnapshotBuilder snapshot(Exchange::binance);

    for (const auto& balance : replies.spotAccount.balances) {
        const Decimal quantity =
            Decimal::amountOrZero(balance.free) + Decimal::amountOrZero(balance.locked);
        snapshot.addPricedBalance(AccountType::spot, balance.asset, quantity,
                                  usdValue(balance.asset, quantity, prices));
    }

    const Decimal* bridge = prices.find(ValuationLadder::of(Exchange::binance).bridgePair());
    const Decimal btcPrice = bridge != nullptr ? *bridge : Decimal();
    if (replies.funding) {
        for (const BinanceFundingBalance& row : *replies.funding) {
            const Decimal quantity = fundingQuantity(row);
            snapshot.addPricedBalance(AccountType::funding, row.asset, quantity,
                                      fundingValue(row, quantity, btcPrice, prices));
        }
    }

    const Decimal futuresTotal =
        replies.futuresAccount ? Decimal::amountOrZero(replies.futuresAccount->totalMarginBalance)
                               : Decimal();
    if (!futuresTotal.isZero()) {
        snapshot.addReportedBalance(AccountType::futures, QStringLiteral("USDT"), futuresTotal,
                                    futuresTotal);
    }

    if (replies.positions) {
        for (const BinancePositionResponse& row : *replies.positions) {
            if (std::optional<Position> position = mapPosition(row)) {
                snapshot.addPosition(std::move(*position));
            }
        }
    } else {
        snapshot.markPositionsUnavailable();
    }

    snapshot.addBreakdown(AccountType::spot, snapshot.rowTotal(AccountType::spot));
    snapshot.addBreakdown(AccountType::funding, snapshot.rowTotal(AccountType::funding));
    snapshot.addBreakdown(AccountType::futures, futuresTotal);
    if (!replies.futuresAccount) {
        snapshot.markMissing(AccountType::futures);
    }
    if (!replies.funding) {
        snapshot.markMissing(AccountType::funding);
    }
    return std::move(snapshot).build();
}

template <typename T>
QCoro::Task<T> BinanceProvider::signedCall(BinanceProvider self, QByteArray method, QString baseURL,
                                           QString path, RequestParameters parameters,
                                           std::shared_ptr<CancellationToken> cancellation)
{
    HttpRequest request =
        self.signedRequest(method, baseURL, path, std::move(parameters), std::move(cancellation));
    auto sending = self.m_client.send<T>(std::move(request));
    T reply = co_await sending;
    co_return reply;
}

template <typename T>
QCoro::Task<T> BinanceProvider::publicGET(BinanceProvider self, QString baseURL, QString path,
                                          std::shared_ptr<CancellationToken> cancellation)
{
    HttpRequest request = ConnectorRequest::publicGET(baseURL % path, std::move(cancellation));
    auto sending = self.m_client.send<T>(std::move(request));
    T reply = co_await sending;
    co_return reply;
}

HttpRequest BinanceProvider::signedRequest(const QByteArray& method, const QString& baseURL,
                                           const QString& path, RequestParameters parameters,
                                           std::shared_ptr<CancellationToken> cancellation) const
{
    const RequestTimestamp timestamp = RequestTimestamp::now(*m_clock);
    const QString query =
        SignaturePrehash::binance(std::move(parameters), receiveWindow, timestamp);
    const QString signature =
        RequestSigner::hmacSha256Hex(m_credentials.secretKey.toUtf8(), query.toUtf8());
    const QString url = baseURL % path % u'?' % query % u"&signature=" % signature;
    QList<ConnectorRequest::Header> headers{{"X-MBX-APIKEY", m_credentials.apiKey}};
    if (method == post) {
        // No body: the parameters and the signature travel in the URL only.
        headers.append({"Content-Type", QStringLiteral("application/x-www-form-urlencoded")});
    }
    return ConnectorRequest::signedRequest(method, url, headers, std::move(cancellation));
}

void BinanceProvider::requireSendableCredentials() const
{
    ConnectorRequest::requireHeaderSafe({m_credentials.apiKey});
}

}  // namespace vantrell
