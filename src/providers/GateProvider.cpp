#include "providers/GateProvider.h"

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

// Paths without the API prefix; the request builders put it in front.
const QString spotAccountsPath = QStringLiteral("/spot/accounts");
const QString tickersPath = QStringLiteral("/spot/tickers");
const QString futuresAccountPath = QStringLiteral("/futures/usdt/accounts");
const QString positionsPath = QStringLiteral("/futures/usdt/positions");

const QString futuresAsset = QStringLiteral("USDT");
const QString noFuturesAccountLabel = QStringLiteral("USER_NOT_FOUND");
const QString dualShortMode = QStringLiteral("dual_short");

RequestParameters positionsParameters()
{
    return {{QStringLiteral("holding"), QStringLiteral("true")},
            {QStringLiteral("limit"), QStringLiteral("100")}};
}

PositionSide sideOf(const GatePosition& row, const Decimal& size)
{
    // In dual mode the short leg is named, whatever the sign of its size.
    if (row.mode == dualShortMode) {
        return PositionSide::short_;
    }
    return size < Decimal() ? PositionSide::short_ : PositionSide::long_;
}

}  // namespace

GateProvider::GateProvider(GateCredentials credentials, ExchangeHTTPClient client,
                           const ExchangeEndpoints& endpoints, const Clock& clock)
    : m_credentials(std::move(credentials)),
      m_client(std::move(client)),
      m_baseURL(endpoints.gate),
      m_prefix(endpoints.gatePrefix),
      m_clock(&clock)
{
}

QCoro::Task<ExchangeProviderSnapshot> GateProvider::fetchSnapshot() const
{
    const GateProvider self = *this;
    self.requireSendableCredentials();

    RequestFanOut fan;
    const std::shared_ptr<CancellationToken>& token = fan.token();
    auto spot =
        fan.start(signedGET<std::vector<GateSpotAccount>>(self, spotAccountsPath, {}, token));
    auto tickers = fan.start(publicGET<std::vector<GateTicker>>(self, tickersPath, token));
    auto futures =
        fan.start(optionalSignedGET<GateFuturesAccount>(self, futuresAccountPath, {}, token));
    auto positions = fan.start(optionalSignedGET<std::vector<GatePosition>>(
        self, positionsPath, positionsParameters(), token));

    // Awaited in the order started. Each result is bound to a local of its own: g++ 12
    // mishandles temporaries around co_await.
    auto spotAwait = fan.await(std::move(spot));
    std::vector<GateSpotAccount> spotAccounts = co_await spotAwait;
    auto tickersAwait = fan.await(std::move(tickers));
    std::vector<GateTicker> tickerRows = co_await tickersAwait;
    auto futuresAwait = fan.await(std::move(futures));
    std::optional<GateFuturesAccount> futuresAccount = co_await futuresAwait;
    auto positionsAwait = fan.await(std::move(positions));
    std::optional<std::vector<GatePosition>> positionRows = co_await positionsAwait;

    co_return assemble(GateReplies{std::move(spotAccounts), std::move(tickerRows),
                                   std::move(futuresAccount), std::move(positionRows)});
}

QCoro::Task<void> GateProvider::testConnection() const
{
    const GateProvider self = *this;
    self.requireSendableCredentials();
    auto call = signedGET<std::vector<GateSpotAccount>>(self, spotAccountsPath, {}, {});
    // Only success matters; the reply is bound to a local, not left as a temporary.
    [[maybe_unused]] const std::vector<GateSpotAccount> reply = co_await call;
}

QString GateProvider::queryString(const RequestParameters& parameters)
{
    return QueryString::encoded(parameters);
}

Decimal GateProvider::usdValue(const QString& asset, const Decimal& quantity,
                               const PriceMap& prices)
{
    return ValuationLadder::of(Exchange::gateio).usdValue(asset, quantity, prices);
}

Decimal GateProvider::futuresValue(const std::optional<GateFuturesAccount>& account)
{
    if (!account) {
        return {};
    }
    const Decimal crossMargin = Decimal::amountOrZero(account->crossMarginBalance);
    if (!crossMargin.isZero()) {
        return crossMargin;
    }
    return Decimal::amountOrZero(account->total) + Decimal::amountOrZero(account->unrealisedPnl);
}

std::optional<Position> GateProvider::mapPosition(const GatePosition& row)
{
    const Decimal size = Decimal::amountOrZero(row.size);
    if (size.isZero()) {
        return std::nullopt;
    }
    Position position;
    position.exchange = Exchange::gateio;
    position.symbol = row.contract;
    position.side = sideOf(row, size);
    position.quantity = size.abs();
    position.entryPrice = Decimal::amountOrZero(row.entryPrice);
    position.markPrice = Decimal::amountOrZero(row.markPrice);
    position.unrealizedPnL = Decimal::amountOrZero(row.unrealisedPnl);
    // Relative to the position's current value, not to its cost.
    const Decimal base = Decimal::amountOrZero(row.value).abs();
    position.pnlPercent = base.isZero() ? Decimal() : position.unrealizedPnL / base * Decimal(100);
    position.notionalValueUSD = base;
    return position;
}

ExchangeProviderSnapshot GateProvider::assemble(const GateReplies& replies)
{
    PriceMap prices;
    prices.reserve(static_cast<qsizetype>(replies.tickers.size()));
    for (const GateTicker& ticker : replies.tickers) {
        prices.add(ticker.currencyPair, ticker.last);
    }

    SnapshotBuilder snapshot(Exchange::gateio);
    for (const GateSpotAccount& row : replies.spotAccounts) {
        const Decimal quantity =
            Decimal::amountOrZero(row.available) + Decimal::amountOrZero(row.locked);
        snapshot.addPricedBalance(AccountType::spot, row.currency, quantity,
                                  usdValue(row.currency, quantity, prices));
    }

    // The futures value is the exchange's own figure; a negative one is a real balance.
    const Decimal futures = futuresValue(replies.futuresAccount);
    if (!futures.isZero()) {
        snapshot.addReportedBalance(AccountType::futures, futuresAsset, futures, futures);
    }

    if (replies.positions) {
        for (const GatePosition& row : *replies.positions) {
            if (std::optional<Position> position = mapPosition(row)) {
                snapshot.addPosition(std::move(*position));
            }
        }
    } else {
        snapshot.markPositionsUnavailable();
    }

    snapshot.addBreakdown(AccountType::spot, snapshot.rowTotal(AccountType::spot));
    snapshot.addBreakdown(AccountType::futures, futures);
    if (!replies.futuresAccount) {
        snapshot.markMissing(AccountType::futures);
    }
    return std::move(snapshot).build();
}

bool GateProvider::isNoFuturesAccount(const ExchangeAPIError& error)
{
    return error.kind() == ExchangeAPIError::Kind::httpStatus && error.statusCode() == 400 &&
           error.label() == noFuturesAccountLabel;
}

template <typename T>
QCoro::Task<T> GateProvider::signedGET(GateProvider self, QString path,
                                       RequestParameters parameters,
                                       std::shared_ptr<CancellationToken> cancellation)
{
    HttpRequest request = self.signedRequest(path, parameters, std::move(cancellation));
    auto sending = self.m_client.send<T>(std::move(request));
    T reply = co_await sending;
    co_return reply;
}

template <typename T>
QCoro::Task<std::optional<T>> GateProvider::optionalSignedGET(
    GateProvider self, QString path, RequestParameters parameters,
    std::shared_ptr<CancellationToken> cancellation)
{
    auto call = OptionalCall::run(
        OptionalCallRule::allButRateLimit,
        emptyWithoutFuturesAccount<T>(signedGET<std::optional<T>>(
            std::move(self), std::move(path), std::move(parameters), std::move(cancellation))));
    std::optional<T> reply = co_await call;
    co_return reply;
}

template <typename T>
QCoro::Task<std::optional<T>> GateProvider::emptyWithoutFuturesAccount(
    QCoro::Task<std::optional<T>> call)
{
    try {
        std::optional<T> reply = co_await std::move(call);
        co_return reply;
    } catch (const ExchangeAPIError& error) {
        if (!isNoFuturesAccount(error)) {
            throw;
        }
    }
    // Complete and worth nothing: no futures value, no positions, nothing missing.
    co_return T{};
}

template <typename T>
QCoro::Task<T> GateProvider::publicGET(GateProvider self, QString path,
                                       std::shared_ptr<CancellationToken> cancellation)
{
    HttpRequest request =
        ConnectorRequest::publicGET(self.m_baseURL % self.m_prefix % path, std::move(cancellation));
    auto sending = self.m_client.send<T>(std::move(request));
    T reply = co_await sending;
    co_return reply;
}

HttpRequest GateProvider::signedRequest(const QString& path, const RequestParameters& parameters,
                                        std::shared_ptr<CancellationToken> cancellation) const
{
    const QString query = queryString(parameters);
    const RequestTimestamp timestamp = RequestTimestamp::now(*m_clock);
    const QString prefixedPath = m_prefix % path;
    // Requests carry no body; its digest is signed all the same.
    const QString prehash =
        SignaturePrehash::gate(u"GET", prefixedPath, query, QByteArray(), timestamp);
    const QString signature =
        RequestSigner::hmacSha512Hex(m_credentials.secretKey.toUtf8(), prehash.toUtf8());
    QString url = m_baseURL % prefixedPath;
    if (!query.isEmpty()) {
        url += u'?' % query;
    }
    return ConnectorRequest::signedRequest("GET", url,
                                           {{"KEY", m_credentials.apiKey},
                                            {"Timestamp", timestamp.secondsText()},
                                            {"SIGN", signature},
                                            {"Accept", QStringLiteral("application/json")}},
                                           std::move(cancellation));
}

void GateProvider::requireSendableCredentials() const
{
    ConnectorRequest::requireHeaderSafe({m_credentials.apiKey});
}

}  // namespace vantrell
