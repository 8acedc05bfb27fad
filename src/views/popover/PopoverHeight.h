#pragma once

#include <optional>
#include <vector>

namespace vantrell {

struct PortfolioReading;

// The popover's height as a closed formula over counts, so the window size never depends on
// measuring its content; the scroll area takes up the difference.
class PopoverHeight {
public:
    static constexpr int minimum = 420;
    static constexpr int maximum = 640;
    static constexpr int screenMargin = 28;

    // `cards` holds one entry per configured exchange: the number of account rows of its
    // account in the snapshot, or nothing when the snapshot has no account for it.
    static int content(const std::vector<std::optional<int>>& cards, int positionCount,
                       bool showsUpdateBanner);
    // min(visible height − 28, 640), so the popover always fits the screen; 640 without a
    // screen.
    static int cap(std::optional<int> visibleScreenHeight);
    // The content height, kept between 420 and the cap (420 wins over a smaller cap).
    static int height(const std::vector<std::optional<int>>& cards, int positionCount,
                      bool showsUpdateBanner, std::optional<int> visibleScreenHeight);
    static int height(const PortfolioReading& reading, bool showsUpdateBanner,
                      std::optional<int> visibleScreenHeight);
};

}  // namespace vantrell
