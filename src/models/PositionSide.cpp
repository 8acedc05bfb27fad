#include "models/PositionSide.h"

#include <array>

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
    static constexpr std::array allSides{PositionSide::long_, PositionSide::short_};
    return findStored<PositionSide>(allSides, text);
}

}  // namespace vantrell
