#pragma once

#include <QColor>
#include <QImage>
#include <QString>

class QWidget;

namespace vantrell::test {

// Pictures of widgets for people to look at (never the assertion of a test). Works on the
// offscreen platform; translucent windows keep their alpha and can be laid on a backdrop so
// a clear panel stays readable.
class Screenshot {
public:
    Screenshot() = delete;

    // The widget as it paints now, with alpha.
    static QImage grab(QWidget& widget);
    // `image` centred on a backdrop of `color`, `margin` pixels wider on every side.
    static QImage onBackdrop(const QImage& image, const QColor& color, int margin = 24);
    // Writes `image` as <folder>/<name>.png, creating the folder; false when it could not.
    static bool save(const QImage& image, const QString& folder, const QString& name);
};

}  // namespace vantrell::test
