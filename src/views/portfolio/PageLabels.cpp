#include "views/portfolio/PageLabels.h"

#include "views/kit/VantrellPalette.h"

namespace vantrell {

FitLabel* PageLabels::make(const QString& text, const QFont& font, FitLabel::ColorProvider color,
                           const QString& objectName, qreal minimumScale)
{
    auto* label = new FitLabel(font, minimumScale);
    label->setText(text);
    label->setColorProvider(std::move(color));
    if (!objectName.isEmpty()) {
        label->setObjectName(objectName);
    }
    return label;
}

FitLabel::ColorProvider PageLabels::primary()
{
    return [](const QWidget* w) { return VantrellPalette::primary(w); };
}

FitLabel::ColorProvider PageLabels::secondary()
{
    return [](const QWidget* w) { return VantrellPalette::secondary(w); };
}

FitLabel::ColorProvider PageLabels::tertiary()
{
    return [](const QWidget* w) { return VantrellPalette::tertiary(w); };
}

FitLabel::ColorProvider PageLabels::tint(ChangeTint tint)
{
    return [tint](const QWidget* w) { return changeTintColor(tint, w); };
}

FitLabel::ColorProvider PageLabels::tone(StatusLabel::Tone tone)
{
    return [tone](const QWidget* w) { return toneColor(tone, w); };
}

QColor PageLabels::toneColor(StatusLabel::Tone tone, const QWidget* widget)
{
    switch (tone) {
        case StatusLabel::Tone::orange:
            return VantrellPalette::systemOrange(widget);
        case StatusLabel::Tone::red:
            return VantrellPalette::systemRed(widget);
        case StatusLabel::Tone::green:
            return VantrellPalette::systemGreen(widget);
        case StatusLabel::Tone::secondary:
            break;
    }
    return VantrellPalette::secondary(widget);
}

}  // namespace vantrell
