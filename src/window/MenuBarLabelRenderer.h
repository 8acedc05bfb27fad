#pragma once

#include <QColor>
#include <QFont>
#include <QImage>
#include <QString>

#include <optional>

namespace vantrell {

// The face of the tray item as one image: the program's mark and, when there is a title, 5 px
// of space and the title on one line at its natural width. The mark is centred vertically
// when the text is taller.
class MenuBarLabelRenderer {
public:
    MenuBarLabelRenderer() = delete;

    static constexpr int spacing = 5;

    // The title's font: 13 px, semibold.
    static QFont titleFont();
    // The image in logical pixels times `devicePixelRatio`, transparent around the ink.
    static QImage render(const std::optional<QString>& title, const QColor& ink,
                         qreal devicePixelRatio = 1.0);
    // The logical size render() gives.
    static QSize size(const std::optional<QString>& title);
    // The mark alone, scaled to fit a `side` × `side` image and centred in it, for hosts that
    // take square icons.
    static QImage squareMark(int side, const QColor& ink);
};

}  // namespace vantrell
