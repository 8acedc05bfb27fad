#include "models/PositionSide.h"

namespace vantrell {

QString toStored(PositionSide side)
{
    switch (side) {
        case PositionSide::long_:
            return QStringLiteral("LONG");
        case PositionSide::short_:
            return QStringLiteral("SHORT");
    }
    Q_UNREACHABLE();
    return {};
}

template <>
std::optional<PositionSide> fromStored<PositionSide>(QStringView text)
{
    for (PositionSide side : {PositionSide::long_, PositionSide::short_}) {
        if (toStored(side) == text) {
            return side;
        }
    }
    return std::nullopt;
}

}  // namespace vantrell
