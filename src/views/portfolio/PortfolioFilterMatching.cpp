#include "views/portfolio/PortfolioFilterMatching.h"

namespace vantrell {

namespace {

bool contains(const QString& field, const QString& searchText)
{
    return field.contains(searchText, Qt::CaseInsensitive);
}

}  // namespace

QString PortfolioFilterMatching::searchText(const PortfolioFilter& filter)
{
    return filter.query.trimmed();
}

bool PortfolioFilterMatching::matches(const Position& position, const PortfolioFilter& filter,
                                      const QString& searchText)
{
    if (filter.exchange && *filter.exchange != position.exchange) {
        return false;
    }
    if (!accountMatches(position.accountID, filter)) {
        return false;
    }
    if (filter.side && *filter.side != position.side) {
        return false;
    }
    return textMatches(position.symbol, position.exchange, position.accountAlias, searchText);
}

bool PortfolioFilterMatching::matches(const AssetBalance& balance, const PortfolioFilter& filter,
                                      const QString& searchText)
{
    if (filter.exchange && *filter.exchange != balance.exchange) {
        return false;
    }
    if (!accountMatches(balance.accountID, filter)) {
        return false;
    }
    if (filter.hideSmall && isSmall(balance)) {
        return false;
    }
    return textMatches(balance.asset, balance.exchange, balance.accountAlias, searchText);
}

bool PortfolioFilterMatching::isSmall(const AssetBalance& balance)
{
    if (balance.valueInUSD.isZero() && !balance.quantity.isZero()) {
        return false;
    }
    return balance.valueInUSD.abs() < Decimal(1);
}

bool PortfolioFilterMatching::accountMatches(const std::optional<QString>& accountID,
                                             const PortfolioFilter& filter)
{
    // A row without an account id never matches a chosen account.
    return !filter.accountID || (accountID && *accountID == *filter.accountID);
}

bool PortfolioFilterMatching::textMatches(const QString& field, Exchange exchange,
                                          const std::optional<QString>& alias,
                                          const QString& searchText)
{
    if (searchText.isEmpty()) {
        return true;
    }
    return contains(field, searchText) || contains(toStored(exchange), searchText) ||
           (alias && contains(*alias, searchText));
}

}  // namespace vantrell
