#pragma once

#include <QFrame>

namespace vantrell {

// The card of the list pages, the popover and the floating panel: a rounded rectangle filled
// with VantrellPalette::card and edged with a 1 px VantrellPalette::divider line. Colours are
// taken when painting. Lay children out in it as in any QFrame (the layout's margins are the
// card's padding).
class CardFrame : public QFrame {
    Q_OBJECT

public:
    explicit CardFrame(qreal cornerRadius = 10, QWidget* parent = nullptr);

    qreal cornerRadius() const { return m_cornerRadius; }
    void setCornerRadius(qreal radius);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    qreal m_cornerRadius;
};

}  // namespace vantrell
