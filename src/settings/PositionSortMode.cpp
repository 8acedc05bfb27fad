#include "settings/PositionSortMode.h"

namespace vantrell {

QString toStored(PositionSortMode value)
{
    switch (value) {
        case PositionSortMode::defaultOrder:
            return QStringLiteral("defaultOrder");
        case PositionSortMode::valueDescending:
            return QStringLiteral("valueDescending");
        case PositionSortMode::valueAscending:
            return QStringLiteral("valueAscending");
        case PositionSortMode::pnlDescending:
            return QStringLiteral("pnlDescending");
        case PositionSortMode::pnlAscending:
            return QStringLiteral("pnlAscending");
    }
    Q_UNREACHABLE();
    return {};
}

template <>
std::optional<PositionSortMode> fromStored<PositionSortMode>(QStringView text)
{
    return findStored<PositionSortMode>(allPositionSortModes, text);
}

}  // namespace vantrell
