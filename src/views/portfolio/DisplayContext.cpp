#include "views/portfolio/DisplayContext.h"

#include "settings/AppSettings.h"

namespace vantrell {

DisplayContext DisplayContext::from(const AppSettings& settings)
{
    return {AmountTexts::from(settings), settings.performancePeriod(), settings.positionSortMode()};
}

QString DisplayContext::periodWord(PerformancePeriod period)
{
    return period == PerformancePeriod::today ? QStringLiteral("今日") : QStringLiteral("24h");
}

}  // namespace vantrell
