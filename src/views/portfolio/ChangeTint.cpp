#include "views/portfolio/ChangeTint.h"

namespace vantrell {

ChangeTint tintOfChange(const std::optional<Decimal>& change)
{
    return change ? tintOfSign(*change) : ChangeTint::primary;
}

ChangeTint tintOfSign(const Decimal& value)
{
    return value.isNegative() ? ChangeTint::loss : ChangeTint::gain;
}

}  // namespace vantrell
