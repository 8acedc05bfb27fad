#include "views/analytics/AnalyticsRange.h"

#include "store/PortfolioPerformance.h"

namespace vantrell {

QString toStored(AnalyticsRange range)
{
    switch (range) {
        case AnalyticsRange::today:
            return QStringLiteral("today");
        case AnalyticsRange::twentyFourHours:
            return QStringLiteral("twentyFourHours");
        case AnalyticsRange::sevenDays:
            return QStringLiteral("sevenDays");
        case AnalyticsRange::thirtyDays:
            return QStringLiteral("thirtyDays");
        case AnalyticsRange::ninetyDays:
            return QStringLiteral("ninetyDays");
    }
    Q_UNREACHABLE();
    return {};
}

template <>
std::optional<AnalyticsRange> fromStored<AnalyticsRange>(QStringView text)
{
    return findStored<AnalyticsRange>(allAnalyticsRanges, text);
}

QString title(AnalyticsRange range)
{
    switch (range) {
        case AnalyticsRange::today:
            return QStringLiteral("今日");
        case AnalyticsRange::twentyFourHours:
            return QStringLiteral("24 小时");
        case AnalyticsRange::sevenDays:
            return QStringLiteral("7 天");
        case AnalyticsRange::thirtyDays:
            return QStringLiteral("30 天");
        case AnalyticsRange::ninetyDays:
            return QStringLiteral("90 天");
    }
    Q_UNREACHABLE();
    return {};
}

Date rangeStart(AnalyticsRange range, Date now, const QTimeZone& timeZone)
{
    switch (range) {
        case AnalyticsRange::today:
            return PortfolioPerformance::startOfDay(now, timeZone);
        case AnalyticsRange::twentyFourHours:
            return now.addingSeconds(-86'400);
        case AnalyticsRange::sevenDays:
            return now.addingSeconds(-604'800);
        case AnalyticsRange::thirtyDays:
            return now.addingSeconds(-2'592'000);
        case AnalyticsRange::ninetyDays:
            return now.addingSeconds(-7'776'000);
    }
    Q_UNREACHABLE();
    return now;
}

bool showsTimeOfDay(AnalyticsRange range)
{
    return range == AnalyticsRange::today || range == AnalyticsRange::twentyFourHours;
}

}  // namespace vantrell
