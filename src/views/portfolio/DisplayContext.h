#pragma once

#include "settings/PerformancePeriod.h"
#include "settings/PositionSortMode.h"
#include "views/portfolio/AmountTexts.h"

#include <QString>

namespace vantrell {

class AppSettings;

// The settings a page model is built with, read once per rebuild.
struct DisplayContext {
    AmountTexts amounts;
    PerformancePeriod period = PerformancePeriod::twentyFourHours;
    PositionSortMode sortMode = PositionSortMode::defaultOrder;

    static DisplayContext from(const AppSettings& settings);

    // "今日" for today, "24h" for the last 24 hours.
    static QString periodWord(PerformancePeriod period);
};

}  // namespace vantrell
