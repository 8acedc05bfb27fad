#include "views/analytics/AnalyticsAxisTicks.h"

#include <QDateTime>

#include <array>
#include <cmath>

namespace vantrell::AnalyticsAxisTicks {

namespace {

constexpr double minute = 60;
constexpr double hour = 3600;
constexpr double day = 86'400;

double niceStep(double span, int desiredCount)
{
    const double rough = span / desiredCount;
    const double magnitude = std::pow(10.0, std::floor(std::log10(rough)));
    for (double factor : {1.0, 2.0, 2.5, 5.0, 10.0}) {
        if (factor * magnitude >= rough) {
            return factor * magnitude;
        }
    }
    return 10 * magnitude;
}

// Steps shorter than a day, aligned to the local clock.
std::vector<Date> clockTicks(Date start, Date end, double step, const QTimeZone& timeZone)
{
    // The offset at the start serves the whole span: a daylight-saving change inside it only
    // shifts the marks by that hour.
    const double offset = timeZone.offsetFromUtc(start.toDateTime());
    const double first = std::ceil((start.unixSeconds() + offset) / step) * step - offset;
    std::vector<Date> ticks;
    for (double t = first; t <= end.unixSeconds(); t += step) {
        ticks.push_back(Date::fromUnixSeconds(t));
    }
    return ticks;
}

std::vector<Date> midnightTicks(Date start, Date end, int strideDays, const QTimeZone& timeZone)
{
    QDate date = start.toDateTime().toTimeZone(timeZone).date();
    if (Date::fromDateTime(date.startOfDay(timeZone)) < start) {
        date = date.addDays(1);
    }
    std::vector<Date> ticks;
    for (; Date::fromDateTime(date.startOfDay(timeZone)) <= end; date = date.addDays(strideDays)) {
        ticks.push_back(Date::fromDateTime(date.startOfDay(timeZone)));
    }
    return ticks;
}

}  // namespace

std::vector<double> valueTicks(double lower, double upper, int desiredCount)
{
    const double span = upper - lower;
    if (!std::isfinite(span) || span <= 0 || desiredCount < 1) {
        return {};
    }
    const double step = niceStep(span, desiredCount);
    std::vector<double> ticks;
    for (double n = std::ceil(lower / step); n * step <= upper; n += 1) {
        // Multiplying keeps the marks on round values; adding would pile up error.
        ticks.push_back(n * step == 0 ? 0.0 : n * step);
    }
    return ticks;
}

std::vector<Date> timeTicks(Date start, Date end, int desiredCount, const QTimeZone& timeZone)
{
    const double span = end.secondsSince(start);
    if (!(span > 0) || desiredCount < 1) {
        return {};
    }
    static constexpr std::array<double, 10> clockSteps{
        5 * minute, 10 * minute, 15 * minute, 30 * minute, hour,
        2 * hour,   3 * hour,    4 * hour,    6 * hour,    12 * hour};
    for (double step : clockSteps) {
        if (span / step <= desiredCount) {
            return clockTicks(start, end, step, timeZone);
        }
    }
    for (int days : {1, 2, 3, 7, 14, 30}) {
        if (span / (days * day) <= desiredCount) {
            return midnightTicks(start, end, days, timeZone);
        }
    }
    return midnightTicks(start, end, static_cast<int>(std::ceil(span / day / desiredCount)),
                         timeZone);
}

}  // namespace vantrell::AnalyticsAxisTicks
