#include "support/SnapshotExpectations.h"

#include <QString>

#include <string>
#include <string_view>
#include <utility>

namespace vantrell::test {

Decimal dec(const char* text)
{
    if (std::optional<Decimal> value = Decimal::parse(std::string_view(text))) {
        return *value;
    }
    ADD_FAILURE() << "not a decimal: " << text;
    return {};
}

AssetBalance BalanceRow::operator()(AccountType type, const char* asset, const char* quantity,
                                    const char* value) const
{
    AssetBalance balance;
    balance.exchange = exchange;
    balance.accountType = type;
    balance.asset = QString::fromUtf8(asset);
    balance.quantity = dec(quantity);
    balance.valueInUSD = dec(value);
    return balance;
}

Position PositionRow::operator()(const char* symbol, PositionSide side, const char* quantity,
                                 const char* entry, const char* mark, const char* profit,
                                 const char* percent, const char* notional) const
{
    Position p;
    p.exchange = exchange;
    p.symbol = QString::fromUtf8(symbol);
    p.side = side;
    p.quantity = dec(quantity);
    p.entryPrice = dec(entry);
    p.markPrice = dec(mark);
    p.unrealizedPnL = dec(profit);
    p.pnlPercent = dec(percent);
    p.notionalValueUSD = dec(notional);
    return p;
}

::testing::AssertionResult isFreshAndWhole(const ExchangeProviderSnapshot& snapshot)
{
    const std::pair<bool, const char*> marks[] = {
        {!snapshot.missingAccounts.empty(), "missingAccounts"},
        {snapshot.positionsUnavailable, "positionsUnavailable"},
        {snapshot.containsCachedAccounts, "containsCachedAccounts"},
        {snapshot.accountsUnavailable, "accountsUnavailable"},
        {!snapshot.accountWarnings.empty(), "accountWarnings"},
        {snapshot.components.has_value(), "components"},
        {snapshot.retryAfter.has_value(), "retryAfter"},
    };
    std::string found;
    for (const auto& [present, name] : marks) {
        if (present) {
            found += ' ';
            found += name;
        }
    }
    if (found.empty()) {
        return ::testing::AssertionSuccess();
    }
    return ::testing::AssertionFailure() << "the snapshot carries" << found;
}

}  // namespace vantrell::test
