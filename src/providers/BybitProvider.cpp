#include "providers/BybitProvider.h"

#include "concurrency/RequestFanOut.h"
#include "networking/ExchangeAPIError.h"
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

const QString walletPath = QStringLiteral("/v5/account/wallet-balance");
const QString fundingPath = QStringLiteral("/v5/asset/transfer/query-account-coins-balance");
const QString positionsPath = QStringLiteral("/v5/position/list");
const QString tickersPath = QStringLiteral("/v5/market/tickers");

RequestParameters walletParameters()
{
    return {{QStringLiteral("accountType"), QStringLiteral("UNIFIED")}};
}

RequestParameters fundingParameters()
{
    return {{QStringLiteral("accountType"), QStringLiteral("FUND")}};
}

// One page of at most 200 positions per settle coin; no further page is asked for.
RequestParameters positionParameters(const QString& settleCoin)
{
    return {{QStringLiteral("category"), QStringLiteral("linear")},
            {QStringLiteral("limit"), QStringLiteral("200")},
            {QStringLiteral("settleCoin"), settleCoin}};
}

RequestParameters tickerParameters()
{
    return {{QStringLiteral("category"), QStringLiteral("spot")}};
}

template <typename T>
std::optional<T> resultOf(std::optional<BybitEnvelope<T>>&& envelope)
{
    if (!envelope) {
        return std::nullopt;
    }
    return std::move(envelope->result);
}

PriceMap priceMapOf(const BybitTickerResult& tickers)
{
    PriceMap prices;
    prices.reserve(static_cast<qsizetype>(tickers.list.size()));
    for (const BybitTicker& ticker : tickers.list) {
        prices.add(ticker.symbol, ticker.lastPrice);
    }
    return prices;
}

// Bybit values the unified account's coins itself; a coin it values at 0 (or not at all) is
// left out rather than listed as unpriced, since the ladder is never asked about it.
void addTradingRows(SnapshotBuilder& snapshot, const BybitWallet& wallet)
{
    for (const BybitCoin& coin : wallet.coin) {
        const Decimal quantity = Decimal::amountOrZero(coin.equity);
        const Decimal value = Decimal::amountOrZero(coin.usdValue);
        if (!quantity.isZero() && !value.isZero()) {
            snapshot.addReportedBalance(AccountType::trading, coin.coin, quantity, value);
        }
    }
}

std::optional<Position> positionOf(const BybitPosition& row)
{
    const Decimal size = Decimal::amountOrZero(row.size);
    if (size.isZero()) {
        return std::nullopt;
    }
    Position position;
    position.exchange = Exchange::bybit;
    position.symbol = row.symbol;
    // Bybit writes "Buy" or "Sell"; only the exact "Sell" is short.
    position.side = row.side == u"Sell" ? PositionSide::short_ : PositionSide::long_;
    // Bybit sends sizes without a sign (the side carries it), so the size is kept as sent.
    position.quantity = size;
    position.entryPrice = Decimal::amountOrZero(row.avgPrice);
    position.markPrice = Decimal::amountOrZero(row.markPrice);
    position.unrealizedPnL = Decimal::amountOrZero(row.unrealisedPnl);
    const Decimal cost = position.entryPrice * size;
    position.pnlPercent = cost.isZero() ? Decimal() : position.unrealizedPnL / cost * Decimal(100);
    position.notionalValueUSD = Decimal::amountOrZero(row.positionValue).abs();
    return position;
}

void addPositions(SnapshotBuilder& snapshot, const std::optional<BybitPositionResult>& positions)
{
    if (!positions) {
        snapshot.markPositionsUnavailable();
        return;
    }
    for (const BybitPosition& row : positions->list) {
        if (std::optional<Position> position = positionOf(row)) {
            snapshot.addPosition(std::move(*position));
        }
    }
}

}  // namespace

BybitProvider::BybitProvider(BybitCredentials credentials, ExchangeHTTPClient client,
                             const ExchangeEndpoints& endpoints, const Clock& clock,
                             QString receiveWindow)
    : m_credentials(std::move(credentials)),
      m_client(std::move(client)),
      m_baseURL(endpoints.bybit),
      m_receiveWindow(std::move(receiveWindow)),
      m_clock(&clock)
{
}

QCoro::Task<ExchangeProviderSnapshot> BybitProvider::fetchSnapshot() const
{
    const BybitProvider self = *this;
    self.requireSendableCredentials();

    // Started and awaited in the same order.
    RequestFanOut fan;
    const std::shared_ptr<CancellationToken>& token = fan.token();
    auto wallet =
        fan.start(signedGET<BybitWalletResult>(self, walletPath, walletParameters(), token));
    auto funding = fan.start(
        optionalSignedGET<BybitFundingResult>(self, fundingPath, fundingParameters(), token));
    auto usdt = fan.start(optionalSignedGET<BybitPositionResult>(
        self, positionsPath, positionParameters(QStringLiteral("USDT")), token));
    auto usdc = fan.start(optionalSignedGET<BybitPositionResult>(
        self, positionsPath, positionParameters(QStringLiteral("USDC")), token));
    auto tickers =
        fan.start(publicGET<BybitTickerResult>(self, tickersPath, tickerParameters(), token));

    // Each result is bound to a local of its own: g++ 12 mishandles temporaries around
    // co_await.
    auto walletAwait = fan.await(std::move(wallet));
    BybitEnvelope<BybitWalletResult> walletReply = co_await walletAwait;
    auto fundingAwait = fan.await(std::move(funding));
    std::optional<BybitEnvelope<BybitFundingResult>> fundingReply = co_await fundingAwait;
    auto usdtAwait = fan.await(std::move(usdt));
    std::optional<BybitEnvelope<BybitPositionResult>> usdtReply = co_await usdtAwait;
    auto usdcAwait = fan.await(std::move(usdc));
    std::optional<BybitEnvelope<BybitPositionResult>> usdcReply = co_await usdcAwait;
    auto tickersAwait = fan.await(std::move(tickers));
    BybitEnvelope<BybitTickerResult> tickersReply = co_await tickersAwait;

    // Only now, with every call ended, do the required envelopes count.
    validate(walletReply);
    validate(tickersReply);

    co_return assemble(BybitReplies{std::move(walletReply.result),
                                    resultOf(std::move(fundingReply)),
                                    resultOf(std::move(usdtReply)), resultOf(std::move(usdcReply)),
                                    std::move(tickersReply.result)});
}

QCoro::Task<void> BybitProvider::testConnection() const
{
    const BybitProvider self = *this;
    self.requireSendableCredentials();
    auto call = validatedGET<BybitWalletResult>(self, walletPath, walletParameters(), {});
    // Only success matters; the reply is bound to a local, not left as a temporary.
    [[maybe_unused]] const BybitEnvelope<BybitWalletResult> reply = co_await call;
}

QString BybitProvider::queryString(const RequestParameters& parameters)
{
    return QueryString::encoded(parameters);
}

Decimal BybitProvider::usdValue(const QString& asset, const Decimal& quantity,
                                const PriceMap& prices)
{
    return ValuationLadder::of(Exchange::bybit).usdValue(asset, quantity, prices);
}

void BybitProvider::validateReturnCode(int retCode, const QString& retMsg)
{
    if (retCode == 0) {
        return;
    }
    if (!retMsg.isEmpty()) {
        throw ExchangeAPIError::api(retMsg);
    }
    throw ExchangeAPIError::api(QStringLiteral("Bybit 请求失败（") + QString::number(retCode) +
                                QStringLiteral("）"));
}

ExchangeProviderSnapshot BybitProvider::assemble(const BybitReplies& replies)
{
    const PriceMap prices = priceMapOf(replies.tickers);
    SnapshotBuilder snapshot(Exchange::bybit);

    // Only the first wallet counts; the trading total is the exchange's equity, not the sum of
    // the rows listed.
    const BybitWallet* wallet = replies.wallet.list.empty() ? nullptr : &replies.wallet.list[0];
    const Decimal totalEquity =
        wallet != nullptr ? Decimal::amountOrZero(wallet->totalEquity) : Decimal();
    if (wallet != nullptr) {
        addTradingRows(snapshot, *wallet);
    }

    if (replies.funding) {
        for (const BybitFundingCoin& coin : replies.funding->balance) {
            const Decimal quantity = Decimal::amountOrZero(coin.walletBalance);
            snapshot.addPricedBalance(AccountType::funding, coin.coin, quantity,
                                      usdValue(coin.coin, quantity, prices));
        }
    }

    addPositions(snapshot, replies.usdtPositions);
    addPositions(snapshot, replies.usdcPositions);

    snapshot.addBreakdown(AccountType::trading, totalEquity);
    snapshot.addBreakdown(AccountType::funding, snapshot.rowTotal(AccountType::funding));
    if (!replies.funding) {
        snapshot.markMissing(AccountType::funding);
    }
    return std::move(snapshot).build();
}

template <typename T>
QCoro::Task<BybitEnvelope<T>> BybitProvider::signedGET(
    BybitProvider self, QString path, RequestParameters parameters,
    std::shared_ptr<CancellationToken> cancellation)
{
    HttpRequest request = self.signedRequest(path, parameters, std::move(cancellation));
    auto sending = self.m_client.send<BybitEnvelope<T>>(std::move(request));
    BybitEnvelope<T> reply = co_await sending;
    co_return reply;
}

template <typename T>
QCoro::Task<BybitEnvelope<T>> BybitProvider::validatedGET(
    BybitProvider self, QString path, RequestParameters parameters,
    std::shared_ptr<CancellationToken> cancellation)
{
    auto call = signedGET<T>(std::move(self), std::move(path), std::move(parameters),
                             std::move(cancellation));
    BybitEnvelope<T> reply = co_await call;
    validate(reply);
    co_return reply;
}

template <typename T>
QCoro::Task<std::optional<BybitEnvelope<T>>> BybitProvider::optionalSignedGET(
    BybitProvider self, QString path, RequestParameters parameters,
    std::shared_ptr<CancellationToken> cancellation)
{
    // The envelope is checked inside the wrapped call, so a refusal yields nothing too.
    return OptionalCall::run(OptionalCallRule::allButRateLimit,
                             validatedGET<T>(std::move(self), std::move(path),
                                             std::move(parameters), std::move(cancellation)));
}

template <typename T>
QCoro::Task<BybitEnvelope<T>> BybitProvider::publicGET(
    BybitProvider self, QString path, RequestParameters parameters,
    std::shared_ptr<CancellationToken> cancellation)
{
    // The "?" is written even before an empty query, so the URL is the one the public market
    // cache knows.
    HttpRequest request = ConnectorRequest::publicGET(
        self.m_baseURL % path % u'?' % queryString(parameters), std::move(cancellation));
    auto sending = self.m_client.send<BybitEnvelope<T>>(std::move(request));
    BybitEnvelope<T> reply = co_await sending;
    co_return reply;
}

HttpRequest BybitProvider::signedRequest(const QString& path, const RequestParameters& parameters,
                                         std::shared_ptr<CancellationToken> cancellation) const
{
    const RequestTimestamp timestamp = RequestTimestamp::now(*m_clock);
    // The same query text is signed and sent.
    const QString query = queryString(parameters);
    const QString prehash =
        SignaturePrehash::bybit(timestamp, m_credentials.apiKey, m_receiveWindow, query);
    const QString signature =
        RequestSigner::hmacSha256Hex(m_credentials.secretKey.toUtf8(), prehash.toUtf8());
    QString url = m_baseURL % path;
    if (!query.isEmpty()) {
        url += u'?' % query;
    }
    return ConnectorRequest::signedRequest("GET", url,
                                           {{"X-BAPI-API-KEY", m_credentials.apiKey},
                                            {"X-BAPI-TIMESTAMP", timestamp.millisecondsText()},
                                            {"X-BAPI-RECV-WINDOW", m_receiveWindow},
                                            {"X-BAPI-SIGN", signature}},
                                           std::move(cancellation));
}

void BybitProvider::requireSendableCredentials() const
{
    ConnectorRequest::requireHeaderSafe({m_credentials.apiKey});
}

}  // namespace vantrell
