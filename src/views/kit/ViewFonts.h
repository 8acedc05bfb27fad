#pragma once

#include <QFont>

namespace vantrell {

// Fonts of the views. Sizes are given in pixels equal to the design's point sizes, so text
// heights and the layout's lengths stay in one unit; weights map medium, semibold, bold and
// black to Qt's Medium, DemiBold, Bold and Black.
class ViewFonts {
public:
    ViewFonts() = delete;

    static QFont font(int pixelSize, QFont::Weight weight = QFont::Normal);
};

}  // namespace vantrell
