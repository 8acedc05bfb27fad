#include "views/analytics/AnalyticsStyle.h"

#include "views/kit/VantrellPalette.h"
#include "views/kit/ViewFonts.h"

namespace vantrell::AnalyticsStyle {

QFont captionFont()
{
    return ViewFonts::font(11);
}

QFont semiboldCaptionFont()
{
    return ViewFonts::font(11, QFont::DemiBold);
}

QFont titleFont()
{
    return ViewFonts::font(17, QFont::DemiBold);
}

QColor toneColor(ValueTone tone, const QWidget* widget)
{
    switch (tone) {
        case ValueTone::gain:
            return VantrellPalette::gain();
        case ValueTone::loss:
            return VantrellPalette::loss();
        case ValueTone::primary:
            break;
    }
    return VantrellPalette::primary(widget);
}

}  // namespace vantrell::AnalyticsStyle
