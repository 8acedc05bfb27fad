#pragma once

#include <QColor>
#include <QPalette>

class QWidget;

namespace vantrell {

// The colours every window shares. Gains are red and losses green. Colours that differ between
// light and dark are resolved from the palette a widget paints with, at the moment it paints,
// so a window that switches appearance never keeps a stale colour: call these from paintEvent
// or when (re)building content, never cache the result. A null widget means the application
// palette.
class VantrellPalette {
public:
    VantrellPalette() = delete;

    static QColor gain();  // rising values, profits, positive changes (zero counts as a gain)
    static QColor loss();  // falling values, losses, negative changes

    // A palette is dark when its window colour is dark.
    static bool isDark(const QPalette& palette);
    static bool isDark(const QWidget* widget);

    static QColor primary(const QWidget* widget);    // the text colour of the widget's palette
    static QColor secondary(const QWidget* widget);  // secondary text
    static QColor tertiary(const QWidget* widget);   // placeholder-like text, faint marks
    static QColor divider(const QWidget* widget);    // hairlines and card borders
    static QColor card(const QWidget* widget);       // card backgrounds
    static QColor panel(const QWidget* widget);      // window and panel backgrounds
    static QColor sidebar(const QWidget* widget);    // the main window's sidebar

    // The platform's usual system colours in their light and dark variants.
    static QColor systemGreen(const QWidget* widget);
    static QColor systemOrange(const QWidget* widget);
    static QColor systemRed(const QWidget* widget);
    static QColor systemBlue(const QWidget* widget);

private:
    static QColor pick(const QWidget* widget, QColor light, QColor dark);
};

}  // namespace vantrell
