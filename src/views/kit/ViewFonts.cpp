#include "views/kit/ViewFonts.h"

#include <QApplication>

namespace vantrell {

QFont ViewFonts::font(int pixelSize, QFont::Weight weight)
{
    QFont font = QApplication::font();
    font.setPixelSize(pixelSize);
    font.setWeight(weight);
    return font;
}

}  // namespace vantrell
