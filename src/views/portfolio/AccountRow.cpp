#include "views/portfolio/AccountRow.h"

namespace vantrell {

AccountRow AccountRow::make(const AccountBreakdown& breakdown, const AmountTexts& amounts)
{
    return {toStored(breakdown.type), amounts.money(breakdown.value)};
}

}  // namespace vantrell
