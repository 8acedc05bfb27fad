#include "settings/PerformancePeriod.h"

namespace vantrell {

QString toStored(PerformancePeriod value)
{
    switch (value) {
        case PerformancePeriod::twentyFourHours:
            return QStringLiteral("twentyFourHours");
        case PerformancePeriod::today:
            return QStringLiteral("today");
    }
    Q_UNREACHABLE();
    return {};
}

template <>
std::optional<PerformancePeriod> fromStored<PerformancePeriod>(QStringView text)
{
    return findStored<PerformancePeriod>(allPerformancePeriods, text);
}

}  // namespace vantrell
