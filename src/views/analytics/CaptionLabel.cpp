#include "views/analytics/CaptionLabel.h"

#include "views/kit/VantrellPalette.h"

#include <QEvent>

namespace vantrell {

CaptionLabel::CaptionLabel(const QString& text, const QFont& font, QWidget* parent) : QLabel(parent)
{
    setTextFormat(Qt::PlainText);
    setText(text);
    setFont(font);
    applyColour();
}

void CaptionLabel::changeEvent(QEvent* event)
{
    QLabel::changeEvent(event);
    if (event->type() == QEvent::PaletteChange && !m_applying) {
        applyColour();
    }
}

void CaptionLabel::applyColour()
{
    // Setting the palette sends a palette change of its own; it must not loop.
    m_applying = true;
    QPalette palette = this->palette();
    palette.setColor(QPalette::WindowText, VantrellPalette::secondary(this));
    setPalette(palette);
    m_applying = false;
}

}  // namespace vantrell
