#include "views/portfolio/PositionSortTexts.h"

namespace vantrell {

QString PositionSortTexts::menuText(PositionSortMode mode)
{
    switch (mode) {
        case PositionSortMode::defaultOrder:
            return QStringLiteral("默认顺序");
        case PositionSortMode::valueDescending:
            return QStringLiteral("价值：从高到低");
        case PositionSortMode::valueAscending:
            return QStringLiteral("价值：从低到高");
        case PositionSortMode::pnlDescending:
            return QStringLiteral("盈亏：从高到低");
        case PositionSortMode::pnlAscending:
            return QStringLiteral("盈亏：从低到高");
    }
    return {};
}

QString PositionSortTexts::shortText(PositionSortMode mode)
{
    switch (mode) {
        case PositionSortMode::defaultOrder:
            return QStringLiteral("排序");
        case PositionSortMode::valueDescending:
            return QStringLiteral("价值 ↓");
        case PositionSortMode::valueAscending:
            return QStringLiteral("价值 ↑");
        case PositionSortMode::pnlDescending:
            return QStringLiteral("盈亏 ↓");
        case PositionSortMode::pnlAscending:
            return QStringLiteral("盈亏 ↑");
    }
    return {};
}

}  // namespace vantrell
