#include "settings/RefreshInterval.h"

namespace vantrell {

double seconds(RefreshInterval interval)
{
    switch (interval) {
        case RefreshInterval::five:
            return 5;
        case RefreshInterval::ten:
            return 10;
        case RefreshInterval::thirty:
            return 30;
        case RefreshInterval::sixty:
            return 60;
    }
    Q_UNREACHABLE();
    return 10;
}

std::optional<RefreshInterval> refreshIntervalFromSeconds(double value)
{
    for (RefreshInterval interval : allRefreshIntervals) {
        if (seconds(interval) == value) {
            return interval;
        }
    }
    return std::nullopt;
}

QString toStored(RefreshInterval interval)
{
    return QString::number(static_cast<int>(seconds(interval)));
}

QString title(RefreshInterval interval)
{
    return toStored(interval) + QStringLiteral(" 秒");
}

template <>
std::optional<RefreshInterval> fromStored<RefreshInterval>(QStringView text)
{
    return findStored<RefreshInterval>(allRefreshIntervals, text);
}

}  // namespace vantrell
