#include "window/MainNavigation.h"

#include <algorithm>

namespace vantrell {

MainSection MainNavigation::effectiveSection(const QString& storedRaw,
                                             const std::function<bool(Exchange)>& isConfigured)
{
    const std::optional<MainSection> stored = mainSectionFromRaw(storedRaw);
    if (!stored) {
        return MainSection::overview;
    }
    const std::optional<Exchange> exchange = exchangeOf(*stored);
    if (exchange && !isConfigured(*exchange)) {
        return MainSection::overview;
    }
    return *stored;
}

std::vector<MainNavigation::Group> MainNavigation::sidebarGroups(
    const std::vector<Exchange>& configuredExchanges)
{
    Group exchanges{QStringLiteral("交易所"), {}};
    for (Exchange exchange : allExchanges) {
        if (std::find(configuredExchanges.begin(), configuredExchanges.end(), exchange) !=
            configuredExchanges.end()) {
            exchanges.sections.push_back(sectionOf(exchange));
        }
    }
    exchanges.sections.push_back(MainSection::exchangeManagement);
    return {
        {QString(), {MainSection::overview}},
        exchanges,
        {QStringLiteral("资产"),
         {MainSection::assets, MainSection::positions, MainSection::analytics}},
        {QString(), {MainSection::settings}},
    };
}

}  // namespace vantrell
