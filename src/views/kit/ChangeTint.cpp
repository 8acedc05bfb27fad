#include "views/kit/ChangeTint.h"

#include "views/kit/VantrellPalette.h"

namespace vantrell {

ChangeTint changeTintOf(const std::optional<Decimal>& change)
{
    if (!change) {
        return ChangeTint::primary;
    }
    return *change < Decimal(0) ? ChangeTint::loss : ChangeTint::gain;
}

QColor changeTintColor(ChangeTint tint, const QWidget* widget)
{
    switch (tint) {
        case ChangeTint::gain:
            return VantrellPalette::gain();
        case ChangeTint::loss:
            return VantrellPalette::loss();
        case ChangeTint::primary:
            break;
    }
    return VantrellPalette::primary(widget);
}

QColor signColor(const Decimal& change)
{
    return change < Decimal(0) ? VantrellPalette::loss() : VantrellPalette::gain();
}

}  // namespace vantrell
