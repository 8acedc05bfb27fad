#include "window/MenuBarLabelRenderer.h"

#include "views/drawing/MenuBarMark.h"

#include <gtest/gtest.h>

using namespace vantrell;

namespace {

bool inked(const QImage& image, int x, int y)
{
    return qAlpha(image.pixel(x, y)) > 128;
}

int inkedColumnsRightOf(const QImage& image, int left)
{
    int columns = 0;
    for (int x = left; x < image.width(); ++x) {
        for (int y = 0; y < image.height(); ++y) {
            if (inked(image, x, y)) {
                ++columns;
                break;
            }
        }
    }
    return columns;
}

TEST(MenuBarLabelRendererTest, IconOnlyIsTheMarkAlone)
{
    const QImage image = MenuBarLabelRenderer::render(std::nullopt, Qt::black);
    EXPECT_EQ(image.size(), QSize(MenuBarMark::markWidth, MenuBarMark::markHeight));
    // The third bar is inked; the top-left corner above the first bar is clear.
    EXPECT_TRUE(inked(image, 13, 5));
    EXPECT_FALSE(inked(image, 4, 2));
}

TEST(MenuBarLabelRendererTest, TitleFollowsTheMarkAfterFivePixels)
{
    const QString title = QStringLiteral("$12,345 +1.23%");
    const QImage image = MenuBarLabelRenderer::render(title, Qt::black);
    EXPECT_GT(image.width(), MenuBarMark::markWidth + MenuBarLabelRenderer::spacing + 40);
    EXPECT_EQ(image.size(), MenuBarLabelRenderer::size(title));
    // Nothing is drawn in the gap; the title's glyphs are drawn after it.
    for (int y = 0; y < image.height(); ++y) {
        EXPECT_FALSE(inked(image, MenuBarMark::markWidth + 1, y));
    }
    EXPECT_GT(inkedColumnsRightOf(image, MenuBarMark::markWidth + MenuBarLabelRenderer::spacing),
              20);
    // The mark stays centred when the text is taller than it.
    const int top = (image.height() - MenuBarMark::markHeight) / 2;
    EXPECT_TRUE(inked(image, 13, top + 5));
}

TEST(MenuBarLabelRendererTest, HighDensityImageKeepsItsLogicalSize)
{
    const QImage image = MenuBarLabelRenderer::render(std::nullopt, Qt::white, 2.0);
    EXPECT_EQ(image.size(), QSize(2 * MenuBarMark::markWidth, 2 * MenuBarMark::markHeight));
    EXPECT_EQ(image.deviceIndependentSize(),
              QSizeF(MenuBarMark::markWidth, MenuBarMark::markHeight));
    EXPECT_EQ(QColor(image.pixel(26, 10)).rgb() & 0xFFFFFF, 0xFFFFFFu);
}

TEST(MenuBarLabelRendererTest, SquareMarkFillsTheWidthCentredInHeight)
{
    for (int side : {16, 22, 32, 48}) {
        const QImage image = MenuBarLabelRenderer::squareMark(side, Qt::black);
        EXPECT_EQ(image.size(), QSize(side, side));
    }
    const QImage image = MenuBarLabelRenderer::squareMark(48, Qt::black);
    const qreal scale = 48.0 / MenuBarMark::markWidth;
    const qreal top = (48 - MenuBarMark::markHeight * scale) / 2;
    // The same probes as on the 17 × 15 mark, scaled and moved down to the centre.
    EXPECT_TRUE(inked(image, int(13 * scale), int(top + 5 * scale)));
    EXPECT_FALSE(inked(image, int(4 * scale), int(top + 2 * scale)));
    // Nothing above or below the scaled mark.
    for (int x = 0; x < 48; ++x) {
        EXPECT_FALSE(inked(image, x, 0));
        EXPECT_FALSE(inked(image, x, 47));
    }
}

}  // namespace
