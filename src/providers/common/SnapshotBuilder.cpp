#include "providers/common/SnapshotBuilder.h"

#include <utility>

namespace vantrell {

SnapshotBuilder::SnapshotBuilder(Exchange exchange)
{
    m_snapshot.account.exchange = exchange;
}

bool SnapshotBuilder::addPricedBalance(AccountType type, const QString& asset,
                                       const Decimal& quantity, const Decimal& valueInUSD)
{
    if (quantity.isZero()) {
        return false;
    }
    append(type, asset, quantity, valueInUSD);
    if (valueInUSD.isZero()) {
        m_snapshot.unpricedAssets.push_back(asset);
    }
    return true;
}

void SnapshotBuilder::addReportedBalance(AccountType type, const QString& asset,
                                         const Decimal& quantity, const Decimal& valueInUSD)
{
    append(type, asset, quantity, valueInUSD);
}

Decimal SnapshotBuilder::rowTotal(AccountType type) const
{
    const auto it = m_rowTotals.find(type);
    return it == m_rowTotals.end() ? Decimal() : it->second;
}

void SnapshotBuilder::addBreakdown(AccountType type, const Decimal& value)
{
    m_snapshot.account.accounts.push_back(AccountBreakdown{type, value});
    m_snapshot.account.totalValue += value;
}

void SnapshotBuilder::markMissing(AccountType type)
{
    m_snapshot.missingAccounts.insert(type);
}

void SnapshotBuilder::addPosition(Position position)
{
    m_snapshot.positions.push_back(std::move(position));
}

void SnapshotBuilder::markPositionsUnavailable()
{
    m_snapshot.positionsUnavailable = true;
}

ExchangeProviderSnapshot SnapshotBuilder::build() &&
{
    return std::move(m_snapshot);
}

void SnapshotBuilder::append(AccountType type, const QString& asset, const Decimal& quantity,
                             const Decimal& valueInUSD)
{
    AssetBalance row;
    row.exchange = m_snapshot.account.exchange;
    row.accountType = type;
    row.asset = asset;
    row.quantity = quantity;
    row.valueInUSD = valueInUSD;
    m_snapshot.balances.push_back(std::move(row));
    m_rowTotals[type] += valueInUSD;
}

}  // namespace vantrell
