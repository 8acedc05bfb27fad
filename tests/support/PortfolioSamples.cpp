#include "support/PortfolioSamples.h"

#include <QUuid>

#include <stdexcept>

namespace vantrell::test {

Decimal decimal(std::string_view text)
{
    if (auto value = Decimal::parse(text)) {
        return *value;
    }
    throw std::invalid_argument("not a decimal");
}

PortfolioSnapshot sampleSnapshot()
{
    PortfolioSnapshot snapshot;
    snapshot.totalValue = decimal("12345.678901234567890123");
    snapshot.dailyPnL = decimal("-0.000000000000000001");
    snapshot.exchanges = {
        {Exchange::binance,
         decimal("12000.5"),
         std::nullopt,
         {{AccountType::futures, decimal("2000.25")}, {AccountType::spot, decimal("10000.25")}}},
        {Exchange::gateio, decimal("345.178901234567890123"), decimal("1.25"), {}},
    };
    snapshot.positions = {{
        .accountID = QStringLiteral("binance"),
        .accountAlias = QStringLiteral("默认账户"),
        .exchange = Exchange::binance,
        .symbol = QStringLiteral("BTCUSDT"),
        .assetSymbol = QStringLiteral("BTC"),
        .side = PositionSide::short_,
        .quantity = decimal("0.000123456789012345678"),
        .entryPrice = decimal("65000.1"),
        .markPrice = decimal("64000.123456789"),
        .unrealizedPnL = decimal("-12.3456789012345678901"),
        .pnlPercent = decimal("-1.5"),
        .notionalValueUSD = std::nullopt,
    }};
    snapshot.balances = {{
        .accountID = std::nullopt,
        .accountAlias = std::nullopt,
        .exchange = Exchange::gateio,
        .accountType = AccountType::trading,
        .asset = QStringLiteral("USDT"),
        .quantity = decimal("345.178901234567890123"),
        .valueInUSD = decimal("345.178901234567890123"),
    }};
    snapshot.isLive = true;
    return snapshot;
}

ExchangeProviderSnapshot sampleProviderSnapshot(Exchange exchange)
{
    ExchangeProviderSnapshot result;
    result.account = {exchange,
                      decimal("99.000000000000000000001"),
                      std::nullopt,
                      {{AccountType::funding, decimal("99.000000000000000000001")}}};
    result.missingAccounts = {AccountType::futures};
    result.unpricedAssets = {QStringLiteral("XYZ")};
    result.accountWarnings = {QStringLiteral("资金账户暂不可用")};
    result.retryAfter = 2.5;
    return result;
}

CachedPortfolioSnapshot sampleCache(const QString& identity)
{
    CachedPortfolioSnapshot cache;
    cache.snapshot = sampleSnapshot();
    cache.savedAt = Date{700'000'000.125};
    cache.identity = identity;
    cache.quality = {{Exchange::binance, QString()}, {Exchange::gateio, QStringLiteral("partial")}};
    cache.components = CachedPortfolioSnapshot::Components{
        {Exchange::okx,
         {{QStringLiteral("okx"), sampleProviderSnapshot(Exchange::okx)},
          {QStringLiteral("2F1B6C1E-0000-4000-8000-000000000001"),
           sampleProviderSnapshot(Exchange::okx)}}},
    };
    return cache;
}

PortfolioHistory sampleHistory(const QString& identity, Date lastPoint, int pointCount)
{
    PortfolioHistory history;
    history.identity = identity;
    history.coverage = QStringLiteral("binance:合约,现货;okx:交易账户");
    for (int i = pointCount - 1; i >= 0; --i) {
        history.points.push_back(
            {lastPoint.addingSeconds(-300.0 * i), decimal("1000.000000000000000000000001") + i});
    }
    history.flows = std::vector<CapitalFlow>{
        {Uuid::fromString(QStringLiteral("6f9619ff-8b86-d011-b42d-00c04fc964ff")).value(),
         lastPoint.addingSeconds(-600.5), decimal("-250.123456789012345678")},
    };
    return history;
}

QString identityOf(char seed)
{
    return QString(64, QLatin1Char(seed));
}

}  // namespace vantrell::test
