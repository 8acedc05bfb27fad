#pragma once

#include <QColor>
#include <QWidget>

class QPainter;

namespace vantrell {

// The program's mark: three rising bars under a trend line, 17 × 15, drawn in one ink colour
// (the widget's text colour, so it follows a light or dark look). paint() is shared with the
// tray icon, which draws the mark into an image.
class MenuBarMark : public QWidget {
    Q_OBJECT

public:
    static constexpr int markWidth = 17;
    static constexpr int markHeight = 15;

    explicit MenuBarMark(QWidget* parent = nullptr);

    // Draws the mark with its top-left corner at `origin`.
    static void paint(QPainter& painter, QPointF origin, const QColor& ink);

protected:
    void paintEvent(QPaintEvent* event) override;
};

}  // namespace vantrell
