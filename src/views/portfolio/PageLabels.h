#pragma once

#include "views/kit/ChangeTint.h"
#include "views/kit/FitLabel.h"
#include "views/portfolio/StatusLabel.h"

#include <QColor>
#include <QFont>
#include <QString>

class QWidget;

namespace vantrell {

// The one-line plain-text labels of the portfolio pages and the popover, with their colour
// asked for at paint time (so a page follows a light or dark window without being rebuilt).
class PageLabels {
public:
    PageLabels() = delete;

    static FitLabel* make(const QString& text, const QFont& font, FitLabel::ColorProvider color,
                          const QString& objectName = QString(), qreal minimumScale = 1.0);

    static FitLabel::ColorProvider primary();
    static FitLabel::ColorProvider secondary();
    static FitLabel::ColorProvider tertiary();
    static FitLabel::ColorProvider tint(ChangeTint tint);
    static FitLabel::ColorProvider tone(StatusLabel::Tone tone);

    static QColor toneColor(StatusLabel::Tone tone, const QWidget* widget);
};

}  // namespace vantrell
