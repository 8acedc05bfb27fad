#include "views/popover/PopoverHeight.h"

#include "views/portfolio/PortfolioReading.h"

#include <algorithm>

namespace vantrell {

namespace {

constexpr int cardWithData = 58;
constexpr int accountRow = 22;
constexpr int cardWithoutData = 68;
constexpr int positionRow = 39;
constexpr int header = 48;
constexpr int footer = 134;
constexpr int footerWithBanner = 162;

}  // namespace

int PopoverHeight::content(const std::vector<std::optional<int>>& cards, int positionCount,
                           bool showsUpdateBanner)
{
    int rows = 0;
    for (const std::optional<int>& accountRows : cards) {
        rows += accountRows ? cardWithData + accountRow * *accountRows : cardWithoutData;
    }
    return positionRow * positionCount + header + rows +
           (showsUpdateBanner ? footerWithBanner : footer);
}

int PopoverHeight::cap(std::optional<int> visibleScreenHeight)
{
    if (!visibleScreenHeight) {
        return maximum;
    }
    return std::min(*visibleScreenHeight - screenMargin, maximum);
}

int PopoverHeight::height(const std::vector<std::optional<int>>& cards, int positionCount,
                          bool showsUpdateBanner, std::optional<int> visibleScreenHeight)
{
    const int wanted = std::max(content(cards, positionCount, showsUpdateBanner), minimum);
    return std::min(wanted, std::max(cap(visibleScreenHeight), minimum));
}

int PopoverHeight::height(const PortfolioReading& reading, bool showsUpdateBanner,
                          std::optional<int> visibleScreenHeight)
{
    std::vector<std::optional<int>> cards;
    for (const auto exchange : reading.configuredExchanges) {
        const auto* account = reading.account(exchange);
        cards.push_back(account ? std::optional<int>(static_cast<int>(account->accounts.size()))
                                : std::nullopt);
    }
    return height(cards, static_cast<int>(reading.snapshot.positions.size()), showsUpdateBanner,
                  visibleScreenHeight);
}

}  // namespace vantrell
