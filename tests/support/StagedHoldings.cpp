#include "support/StagedHoldings.h"

#include "networking/ExchangeAPIError.h"

#include <algorithm>
#include <string>

namespace vantrell::test {

void StagedHoldings::stage(ExchangeProviderSnapshot snapshot)
{
    const Exchange exchange = snapshot.account.exchange;
    auto provider = std::make_shared<FakeExchangeProvider>(exchange);
    provider->setSnapshot(std::move(snapshot));
    provider->setDelay(m_delay);
    setProvider(exchange, std::move(provider));
}

void StagedHoldings::stageFailure(Exchange exchange)
{
    auto provider = std::make_shared<FakeExchangeProvider>(exchange);
    provider->setFetchError(std::make_exception_ptr(ExchangeAPIError::network()));
    setProvider(exchange, std::move(provider));
}

Position StagedHoldings::position(Exchange exchange, const QString& symbol, PositionSide side,
                                  std::string_view quantity, std::string_view markPrice,
                                  std::string_view pnl)
{
    Position p;
    p.exchange = exchange;
    p.symbol = symbol;
    p.assetSymbol = QString(symbol).remove(QStringLiteral("USDT"));
    p.side = side;
    p.quantity = amount(quantity);
    p.markPrice = amount(markPrice);
    p.entryPrice = p.markPrice - (side == PositionSide::long_ ? amount(pnl) : -amount(pnl)) /
                                     (p.quantity == Decimal(0) ? Decimal(1) : p.quantity);
    p.unrealizedPnL = amount(pnl);
    const Decimal value = p.quantity * p.markPrice;
    p.pnlPercent = value == Decimal(0) ? Decimal(0) : p.unrealizedPnL * Decimal(100) / value;
    return p;
}

AssetBalance StagedHoldings::balance(Exchange exchange, AccountType type, const QString& asset,
                                     std::string_view quantity, std::string_view value)
{
    return {std::nullopt, std::nullopt, exchange, type, asset, amount(quantity), amount(value)};
}

ExchangeAccount StagedHoldings::accountOf(Exchange exchange,
                                          const std::vector<AssetBalance>& balances)
{
    ExchangeAccount account{exchange, Decimal(0), std::nullopt, {}};
    for (const AssetBalance& b : balances) {
        account.totalValue = account.totalValue + b.valueInUSD;
        auto found =
            std::find_if(account.accounts.begin(), account.accounts.end(),
                         [&](const AccountBreakdown& a) { return a.type == b.accountType; });
        if (found == account.accounts.end()) {
            account.accounts.push_back({b.accountType, b.valueInUSD});
        } else {
            found->value = found->value + b.valueInUSD;
        }
    }
    return account;
}

ExchangeProviderSnapshot StagedHoldings::sample(Exchange exchange, int positionCount)
{
    static const char* const coins[] = {"BTC", "ETH", "SOL", "XRP", "DOGE", "ADA", "LINK"};
    const int offset = static_cast<int>(exchange) + 1;
    ExchangeProviderSnapshot snapshot;
    snapshot.balances = {
        balance(exchange, AccountType::spot, QStringLiteral("USDT"),
                std::to_string(4200 * offset) + ".5", std::to_string(4200 * offset) + ".5"),
        balance(exchange, AccountType::spot, QStringLiteral("BTC"), "0.0525",
                std::to_string(3400 + 10 * offset) + ".75"),
        balance(exchange, AccountType::funding, QStringLiteral("ETH"), "1.2", "3120.24"),
        balance(exchange, AccountType::futures, QStringLiteral("USDT"),
                std::to_string(900 * offset), std::to_string(900 * offset)),
        balance(exchange, AccountType::spot, QStringLiteral("PEPE"), "1520.0003", "0.42")};
    snapshot.account = accountOf(exchange, snapshot.balances);
    for (int i = 0; i < positionCount; ++i) {
        const QString symbol = QString::fromLatin1(coins[(i + offset) % 7]) +
                               (i >= 7 ? QString::number(i) : QString()) + QStringLiteral("USDT");
        const int sign = (i * 3 + offset) % 4 == 0 ? -1 : 1;
        snapshot.positions.push_back(
            position(exchange, symbol, i % 3 == 1 ? PositionSide::short_ : PositionSide::long_,
                     std::to_string(1 + (i * 7 + offset) % 13) + ".25",
                     std::to_string(100 + (i * 53 + offset * 17) % 900) + ".5",
                     std::to_string(sign * (5 + (i * 31 + offset) % 120)) + ".75"));
    }
    return snapshot;
}

ExchangeProviderSnapshot StagedHoldings::fullSample(Exchange exchange, int positionCount)
{
    ExchangeProviderSnapshot snapshot = sample(exchange, positionCount);
    snapshot.balances.push_back(
        balance(exchange, AccountType::trading, QStringLiteral("USDC"), "1250.5", "1250.5"));
    snapshot.account = accountOf(exchange, snapshot.balances);
    return snapshot;
}

}  // namespace vantrell::test
