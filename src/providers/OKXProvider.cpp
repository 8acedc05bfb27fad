#include "providers/OKXProvider.h"

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

const QString balancePath = QStringLiteral("/api/v5/account/balance");
const QString fundingPath = QStringLiteral("/api/v5/asset/balances");
const QString positionsPath = QStringLiteral("/api/v5/account/positions");
// OKX takes no parameter map: a path that needs a query carries it, and signs it, literally.
const QString tickersPath = QStringLiteral("/api/v5/market/tickers?instType=SPOT");

using TradingBalances = std::vector<OKXAccountBalance>;
using FundingBalances = std::vector<OKXFundingBalance>;
using Tickers = std::vector<OKXTicker>;

PositionSide sideOf(const OKXPositionResponse& row, const Decimal& size)
{
    if (row.posSide == u"long") {
        return PositionSide::long_;
    }
    if (row.posSide == u"short") {
        return PositionSide::short_;
    }
    // Net mode ("net") or an unknown text: the sign of the size decides.
    return size > Decimal() ? PositionSide::long_ : PositionSide::short_;
}

}  // namespace

OKXProvider::OKXProvider(OKXCredentials credentials, ExchangeHTTPClient client,
                         const ExchangeEndpoints& endpoints, const Clock& clock)
    : m_credentials(std::move(credentials)),
      m_client(std::move(client)),
      m_baseURL(endpoints.okx),
      m_clock(&clock)
{
}

QCoro::Task<ExchangeProviderSnapshot> OKXProvider::fetchSnapshot() const
{
    const OKXProvider self = *this;
    self.requireSendableCredentials();

    RequestFanOut fan;
    const std::shared_ptr<CancellationToken>& token = fan.token();
    auto trading = fan.start(signedGET<TradingBalances>(self, balancePath, token));
    auto funding = fan.start(signedGET<FundingBalances>(self, fundingPath, token));
    auto positions = fan.start(optionalPositions(self, token));
    auto tickers = fan.start(publicGET<Tickers>(self, tickersPath, token));

    // Each result is bound to a local of its own: g++ 12 mishandles temporaries around
    // co_await.
    auto tradingAwait = fan.await(std::move(trading));
    OKXEnvelope<TradingBalances> tradingReply = co_await tradingAwait;
    auto fundingAwait = fan.await(std::move(funding));
    OKXEnvelope<FundingBalances> fundingReply = co_await fundingAwait;
    auto positionsAwait = fan.await(std::move(positions));
    std::optional<PositionsEnvelope> positionsReply = co_await positionsAwait;
    auto tickersAwait = fan.await(std::move(tickers));
    OKXEnvelope<Tickers> tickersReply = co_await tickersAwait;

    // Only once everything has arrived, in this order.
    validate(tradingReply);
    validate(fundingReply);
    validate(tickersReply);

    OKXReplies replies{std::move(tradingReply.data), std::move(fundingReply.data), std::nullopt,
                       std::move(tickersReply.data)};
    if (positionsReply) {
        replies.positions = std::move(positionsReply->data);
    }
    co_return assemble(replies);
}

QCoro::Task<void> OKXProvider::testConnection() const
{
    const OKXProvider self = *this;
    self.requireSendableCredentials();
    auto call = signedGET<TradingBalances>(self, balancePath, {});
    const OKXEnvelope<TradingBalances> reply = co_await call;
    validate(reply);
}

void OKXProvider::validate(const OKXEnvelopeStatus& envelope)
{
    if (envelope.code == u"0") {
        return;
    }
    if (!envelope.msg.isEmpty()) {
        throw ExchangeAPIError::api(envelope.msg);
    }
    throw ExchangeAPIError::api(u"OKX 请求失败（" % envelope.code % u"）");
}

PriceMap OKXProvider::priceMap(const std::vector<OKXTicker>& rows)
{
    PriceMap prices;
    prices.reserve(static_cast<qsizetype>(rows.size()));
    for (const OKXTicker& row : rows) {
        prices.add(row.instId, row.last);
    }
    return prices;
}

Decimal OKXProvider::usdValue(const QString& asset, const Decimal& quantity, const PriceMap& prices)
{
    return ValuationLadder::of(Exchange::okx).usdValue(asset, quantity, prices);
}

std::optional<Position> OKXProvider::mapPosition(const OKXPositionResponse& row)
{
    const Decimal size = Decimal::amountOrZero(row.pos);
    if (size.isZero()) {
        return std::nullopt;
    }
    Position position;
    position.exchange = Exchange::okx;
    position.symbol = row.instId;
    position.side = sideOf(row, size);
    position.quantity = size.abs();
    position.entryPrice = Decimal::amountOrZero(row.avgPx);
    position.markPrice = Decimal::amountOrZero(row.markPx);
    position.unrealizedPnL = Decimal::amountOrZero(row.upl);
    // The exchange's own ratio, not recomputed from the prices.
    position.pnlPercent = Decimal::amountOrZero(row.uplRatio) * Decimal(100);
    position.notionalValueUSD = Decimal::amountOrZero(row.notionalUsd).abs();
    return position;
}

ExchangeProviderSnapshot OKXProvider::assemble(const OKXReplies& replies)
{
    const PriceMap prices = priceMap(replies.tickers);
    SnapshotBuilder snapshot(Exchange::okx);

    for (const OKXFundingBalance& row : replies.funding) {
        const Decimal quantity = Decimal::amountOrZero(row.bal);
        snapshot.addPricedBalance(AccountType::funding, row.ccy, quantity,
                                  usdValue(row.ccy, quantity, prices));
    }

    // The trading account is the first element; its total is the exchange's own equity, which
    // also counts what the rows below leave out.
    Decimal tradingTotal;
    if (!replies.tradingBalance.empty()) {
        const OKXAccountBalance& account = replies.tradingBalance.front();
        tradingTotal = Decimal::amountOrZero(account.totalEq);
        for (const OKXAccountBalance::Detail& detail : account.details) {
            const Decimal quantity = Decimal::amountOrZero(detail.cashBal);
            const Decimal value = Decimal::amountOrZero(detail.eqUsd);
            if (!quantity.isZero() && !value.isZero()) {
                snapshot.addReportedBalance(AccountType::trading, detail.ccy, quantity, value);
            }
        }
    }

    if (replies.positions) {
        for (const OKXPositionResponse& row : *replies.positions) {
            if (std::optional<Position> position = mapPosition(row)) {
                snapshot.addPosition(std::move(*position));
            }
        }
    } else {
        snapshot.markPositionsUnavailable();
    }

    snapshot.addBreakdown(AccountType::funding, snapshot.rowTotal(AccountType::funding));
    snapshot.addBreakdown(AccountType::trading, tradingTotal);
    return std::move(snapshot).build();
}

template <typename T>
QCoro::Task<OKXEnvelope<T>> OKXProvider::signedGET(OKXProvider self, QString path,
                                                   std::shared_ptr<CancellationToken> cancellation)
{
    HttpRequest request = self.signedRequest(path, std::move(cancellation));
    auto sending = self.m_client.send<OKXEnvelope<T>>(std::move(request));
    OKXEnvelope<T> reply = co_await sending;
    co_return reply;
}

template <typename T>
QCoro::Task<OKXEnvelope<T>> OKXProvider::publicGET(OKXProvider self, QString path,
                                                   std::shared_ptr<CancellationToken> cancellation)
{
    HttpRequest request =
        ConnectorRequest::publicGET(self.m_baseURL % path, std::move(cancellation));
    auto sending = self.m_client.send<OKXEnvelope<T>>(std::move(request));
    OKXEnvelope<T> reply = co_await sending;
    co_return reply;
}

QCoro::Task<std::optional<OKXProvider::PositionsEnvelope>> OKXProvider::optionalPositions(
    OKXProvider self, std::shared_ptr<CancellationToken> cancellation)
{
    // The envelope is checked inside the optional call, so a refused one yields nothing.
    return OptionalCall::run(OptionalCallRule::allButRateLimit,
                             validatedPositions(std::move(self), std::move(cancellation)));
}

QCoro::Task<OKXProvider::PositionsEnvelope> OKXProvider::validatedPositions(
    OKXProvider self, std::shared_ptr<CancellationToken> cancellation)
{
    auto call =
        signedGET<std::vector<OKXPositionResponse>>(self, positionsPath, std::move(cancellation));
    PositionsEnvelope reply = co_await call;
    validate(reply);
    co_return reply;
}

HttpRequest OKXProvider::signedRequest(const QString& path,
                                       std::shared_ptr<CancellationToken> cancellation) const
{
    // One timestamp, written the same way into the signed text and into its header.
    const RequestTimestamp timestamp = RequestTimestamp::now(*m_clock);
    const QString prehash = SignaturePrehash::okx(timestamp, u"GET", path);
    const QString signature =
        RequestSigner::hmacSha256Base64(m_credentials.secretKey.toUtf8(), prehash.toUtf8());
    return ConnectorRequest::signedRequest("GET", m_baseURL % path,
                                           {{"OK-ACCESS-KEY", m_credentials.apiKey},
                                            {"OK-ACCESS-SIGN", signature},
                                            {"OK-ACCESS-TIMESTAMP", timestamp.isoText()},
                                            {"OK-ACCESS-PASSPHRASE", m_credentials.passphrase}},
                                           std::move(cancellation));
}

void OKXProvider::requireSendableCredentials() const
{
    ConnectorRequest::requireHeaderSafe({m_credentials.apiKey, m_credentials.passphrase});
}

}  // namespace vantrell
