#include "store/PerformancePeriod.h"

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
    for (PerformancePeriod value : allPerformancePeriods) {
        if (toStored(value) == text) {
            return value;
        }
    }
    return std::nullopt;
}

}  // namespace vantrell
