#include "window/FloatingPanelGeometry.h"

#include <gtest/gtest.h>

using namespace vantrell;

namespace {

using Style = FloatingDisplayStyle;
const QRect screen(0, 0, 1440, 900);

TEST(FloatingPanelGeometryTest, StyleTable)
{
    struct Row {
        Style style;
        QSize minimum, maximum, content;
        bool shadow;
    };
    const Row rows[] = {{Style::full, {330, 132}, {500, 220}, {350, 142}, true},
                        {Style::compact, {250, 70}, {380, 120}, {270, 76}, true},
                        {Style::transparent, {220, 32}, {320, 54}, {240, 34}, false}};
    for (const Row& row : rows) {
        const auto metrics = FloatingPanelGeometry::metrics(row.style);
        EXPECT_EQ(metrics.minimumSize, row.minimum) << toStored(row.style).toStdString();
        EXPECT_EQ(metrics.maximumSize, row.maximum);
        EXPECT_EQ(metrics.contentSize, row.content);
        EXPECT_EQ(metrics.hasShadow, row.shadow);
    }
}

TEST(FloatingPanelGeometryTest, StyleChangeKeepsTheTopRightCorner)
{
    const QRect full(1070, 20, 350, 142);
    const QRect transparent = FloatingPanelGeometry::configured(full, Style::transparent, screen);
    EXPECT_EQ(transparent, QRect(1180, 20, 240, 34));
    EXPECT_EQ(FloatingPanelGeometry::configured(transparent, Style::full, screen), full);
}

TEST(FloatingPanelGeometryTest, ClampsIntoTheAvailableArea)
{
    struct Row {
        const char* what;
        QRect current;
        QRect available;
        QPoint expected;
    };
    const QRect area(100, 30, 800, 600);  // x 100..900, y 30..630
    const Row rows[] = {
        {"off the left", QRect(-300, 100, 350, 142), area, {100, 100}},
        {"off the right", QRect(800, 100, 350, 142), area, {550, 100}},
        {"above the top", QRect(300, 0, 350, 142), area, {300, 30}},
        {"below the bottom", QRect(300, 600, 350, 142), area, {300, 488}},
        // Wider than the area: the right bound wins, the left part is off screen.
        {"too wide", QRect(0, 100, 350, 142), QRect(0, 0, 300, 600), {-50, 100}},
        // Taller than the area: the top bound wins.
        {"too tall", QRect(0, 50, 350, 142), QRect(0, 0, 800, 100), {0, 0}},
    };
    for (const Row& row : rows) {
        const QRect result =
            FloatingPanelGeometry::configured(row.current, Style::full, row.available);
        EXPECT_EQ(result.topLeft(), row.expected) << row.what;
        EXPECT_EQ(result.size(), QSize(350, 142)) << row.what;
    }
}

TEST(FloatingPanelGeometryTest, WithoutAScreenOnlyTheSizeChanges)
{
    const QRect result =
        FloatingPanelGeometry::configured(QRect(5000, -40, 350, 142), Style::compact, std::nullopt);
    EXPECT_EQ(result, QRect(5000, -40, 270, 76));
}

TEST(FloatingPanelGeometryTest, DefaultPlaceIsTwentyPixelsFromTheTopRight)
{
    EXPECT_EQ(FloatingPanelGeometry::topRightDefault({350, 142}, QRect(0, 0, 800, 600)),
              QRect(430, 20, 350, 142));
    EXPECT_EQ(FloatingPanelGeometry::topRightDefault({240, 34}, QRect(0, 28, 1440, 872)),
              QRect(1180, 48, 240, 34));
    EXPECT_EQ(
        FloatingPanelGeometry::topRightDefault({100, 50}, std::nullopt, QRect(0, 0, 300, 200)),
        QRect(100, 75, 100, 50));
}

TEST(FloatingPanelGeometryTest, StoredFrames)
{
    const QRect frame(-120, 48, 350, 142);
    EXPECT_EQ(FloatingPanelGeometry::decodeFrame(FloatingPanelGeometry::encodeFrame(frame)), frame);
    for (const char* bad :
         {"", "1 2 3", "1 2 3 4 5", "a 2 3 4", "1 2 0 4", "1 2 3 -4", "1.5 2 3 4"}) {
        EXPECT_FALSE(FloatingPanelGeometry::decodeFrame(QString::fromLatin1(bad))) << bad;
    }

    // Numbers whose sums overflow int in QRect's arithmetic count as nothing stored.
    for (const char* huge : {"2147483647 0 350 142", "0 -2147483648 350 142", "0 0 2147483647 142",
                             "0 0 350 2147483647", "-16777217 0 350 142", "0 0 16777217 142"}) {
        EXPECT_FALSE(FloatingPanelGeometry::decodeFrame(QString::fromLatin1(huge))) << huge;
    }
    EXPECT_EQ(
        FloatingPanelGeometry::decodeFrame(QStringLiteral("16777216 -16777216 16777216 16777216")),
        QRect(16777216, -16777216, 16777216, 16777216));
}

}  // namespace
