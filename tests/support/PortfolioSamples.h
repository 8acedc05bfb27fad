#pragma once

#include "files/CachedPortfolioSnapshot.h"
#include "files/PortfolioHistory.h"

#include <QString>

#include <string_view>

namespace vantrell::test {

// Records with every field filled and amounts longer than a double can hold, for round trips.
Decimal decimal(std::string_view text);
PortfolioSnapshot sampleSnapshot();
ExchangeProviderSnapshot sampleProviderSnapshot(Exchange exchange);
CachedPortfolioSnapshot sampleCache(const QString& identity);
PortfolioHistory sampleHistory(const QString& identity, Date lastPoint, int pointCount = 3);

// A credential identity: 64 lower-case hexadecimal characters made from `seed`.
QString identityOf(char seed);

}  // namespace vantrell::test
