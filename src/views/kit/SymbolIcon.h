#pragma once

#include <QColor>
#include <QIcon>
#include <QPixmap>
#include <QString>
#include <QStringList>

class QPainter;
class QRectF;

namespace vantrell {

// The small symbols of the interface ("xmark.circle.fill", "gearshape", "key", ...), drawn
// with QPainter in one colour. Icon themes are not used: they are missing on the offscreen
// platform and on many desktops. An unknown name gives an empty, transparent image, never a
// crash.
//
//     button->setIcon(SymbolIcon::icon(QStringLiteral("gearshape"), 12, secondaryColour));
class SymbolIcon {
public:
    SymbolIcon() = delete;

    // Every name that draws something.
    static QStringList names();
    static bool exists(const QString& name);

    // A square image of `pixelSize` logical pixels at the given device pixel ratio.
    static QPixmap pixmap(const QString& name, int pixelSize, const QColor& color,
                          qreal devicePixelRatio = 1.0);
    static QIcon icon(const QString& name, int pixelSize, const QColor& color);
    // Draws the symbol into `rect` of an ARGB surface (filled symbols cut their inner mark out
    // of what they drew). False, and nothing drawn, for an unknown name.
    static bool paint(QPainter& painter, const QRectF& rect, const QString& name,
                      const QColor& color);
};

}  // namespace vantrell
