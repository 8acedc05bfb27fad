#pragma once

#include "views/analytics/AnalyticsTexts.h"

#include <QColor>
#include <QFont>

class QWidget;

namespace vantrell {

// Fonts and colours shared by the analytics page and its chart.
namespace AnalyticsStyle {

QFont captionFont();          // secondary captions and small labels
QFont semiboldCaptionFont();  // the selected amount
QFont titleFont();            // the page title

// The colour of a tone as `widget` paints it now: primary text, gain red or loss green.
QColor toneColor(ValueTone tone, const QWidget* widget);

}  // namespace AnalyticsStyle

}  // namespace vantrell
