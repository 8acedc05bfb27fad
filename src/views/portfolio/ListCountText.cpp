#include "views/portfolio/ListCountText.h"

namespace vantrell {

QString ListCountText::text(qsizetype shown, qsizetype total)
{
    // Plain integers without grouping, whatever the locale.
    if (shown == total) {
        return QString::number(shown);
    }
    return QString::number(shown) + QStringLiteral(" / ") + QString::number(total);
}

}  // namespace vantrell
