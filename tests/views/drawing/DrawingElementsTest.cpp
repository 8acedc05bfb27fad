#include "support/StagedPortfolio.h"
#include "views/drawing/ExchangeIcon.h"
#include "views/drawing/MenuBarMark.h"
#include "views/drawing/PortfolioFreshnessDot.h"
#include "views/drawing/Sparkline.h"
#include "views/kit/PlainText.h"
#include "views/kit/VantrellPalette.h"

#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using namespace vantrell;
using namespace vantrell::test;

namespace {

// The widget painted on a transparent image at one pixel per point.
QImage render(QWidget& widget)
{
    QImage image(widget.size(), QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    widget.render(&image, QPoint(), QRegion(), QWidget::DrawChildren);
    return image;
}

bool near(QColor actual, QColor expected, int tolerance = 3)
{
    return std::abs(actual.red() - expected.red()) <= tolerance &&
           std::abs(actual.green() - expected.green()) <= tolerance &&
           std::abs(actual.blue() - expected.blue()) <= tolerance && actual.alpha() >= 250;
}

bool blank(const QImage& image)
{
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (image.pixelColor(x, y).alpha() != 0) {
                return false;
            }
        }
    }
    return true;
}

TEST(DrawingElementsTest, SparklinePoints)
{
    const auto flat = Sparkline::points({3, 3, 3}, 44, 24);
    ASSERT_EQ(flat.size(), 3u);
    for (const QPointF& point : flat) {
        EXPECT_DOUBLE_EQ(point.y(), 24);  // equal values lie on the bottom edge
    }
    const auto two = Sparkline::points({1, 5}, 44, 24);
    ASSERT_EQ(two.size(), 2u);
    EXPECT_EQ(two[0], QPointF(0, 24));
    EXPECT_EQ(two[1], QPointF(44, 0));
    const auto rising = Sparkline::points({1, 3, 2}, 10, 10);
    EXPECT_EQ(rising[1], QPointF(5, 0));
    EXPECT_EQ(rising[2], QPointF(10, 5));
    EXPECT_TRUE(Sparkline::points({}, 44, 24).empty());
    EXPECT_EQ(Sparkline::points({7}, 44, 24), (std::vector<QPointF>{QPointF(0, 24)}));
    const double nan = std::numeric_limits<double>::quiet_NaN();
    EXPECT_EQ(Sparkline::points({nan, 1, INFINITY, 2}, 10, 10).size(), 2u);
}

TEST(DrawingElementsTest, SparklineDrawsNothingForOneValue)
{
    Sparkline single({42}, VantrellPalette::gain());
    single.resize(44, 24);
    EXPECT_TRUE(blank(render(single)));
    Sparkline empty({}, VantrellPalette::gain());
    empty.resize(44, 24);
    EXPECT_TRUE(blank(render(empty)));
    Sparkline line({1, 3, 2, 5}, VantrellPalette::gain());
    line.resize(44, 24);
    EXPECT_FALSE(blank(render(line)));
}

TEST(DrawingElementsTest, MenuBarMarkGeometry)
{
    MenuBarMark mark;
    QPalette palette = mark.palette();
    palette.setColor(QPalette::WindowText, Qt::black);
    mark.setPalette(palette);
    ASSERT_EQ(mark.size(), QSize(17, 15));
    const QImage image = render(mark);
    for (QPoint ink : {QPoint(13, 3), QPoint(8, 8), QPoint(3, 12), QPoint(13, 14)}) {
        EXPECT_GT(image.pixelColor(ink).alpha(), 200) << ink.x() << "," << ink.y();
    }
    for (QPoint clear : {QPoint(4, 2), QPoint(0, 14), QPoint(16, 14), QPoint(5, 12)}) {
        EXPECT_EQ(image.pixelColor(clear).alpha(), 0) << clear.x() << "," << clear.y();
    }
}

TEST(DrawingElementsTest, ExchangeBadges)
{
    ExchangeIcon bitget(Exchange::bitget, 40);
    EXPECT_TRUE(near(render(bitget).pixelColor(4, 20), QColor(18, 199, 209)));
    EXPECT_EQ(bitget.accessibleName(), QStringLiteral("Bitget"));

    ExchangeIcon gate(Exchange::gateio, 40);
    const QImage image = render(gate);
    const QColor arc(20, 166, 212);
    EXPECT_TRUE(near(image.pixelColor(20, 3), Qt::white));   // the disc
    EXPECT_TRUE(near(image.pixelColor(9, 20), arc));         // the ring's left
    EXPECT_TRUE(near(image.pixelColor(20, 9), arc));         // and top
    EXPECT_TRUE(near(image.pixelColor(20, 31), arc));        // and bottom
    EXPECT_TRUE(near(image.pixelColor(31, 20), Qt::white));  // the opening faces right
    EXPECT_TRUE(near(image.pixelColor(25, 25), QColor(41, 196, 150)));
    EXPECT_EQ(image.pixelColor(1, 1).alpha(), 0);  // outside the disc

    for (Exchange exchange : allExchanges) {
        ExchangeIcon icon(exchange, 14);
        const QImage small = render(icon);
        EXPECT_TRUE(near(small.pixelColor(7, 1), ExchangeIcon::discColor(exchange), 40))
            << toStored(exchange).toStdString();
    }
}

TEST(DrawingElementsTest, ExchangeBadgeIsPaddedByItsContentsMargins)
{
    ExchangeIcon icon(Exchange::bitget, 25);
    icon.setContentsMargins(0, 1, 0, 0);
    EXPECT_EQ(icon.size(), QSize(25, 26));
    EXPECT_EQ(icon.sizeHint(), QSize(25, 26));
    EXPECT_EQ(icon.badgeSize(), 25);
    const QImage image = render(icon);
    EXPECT_EQ(image.pixelColor(12, 0).alpha(), 0);  // the padding stays clear
    EXPECT_TRUE(near(image.pixelColor(12, 2), ExchangeIcon::discColor(Exchange::bitget)));
    EXPECT_TRUE(near(image.pixelColor(12, 24), ExchangeIcon::discColor(Exchange::bitget)));
}

TEST(DrawingElementsTest, FreshnessDotFollowsTheStore)
{
    StagedPortfolio staged;
    PortfolioFreshnessDot whole(staged.store());
    EXPECT_EQ(whole.size(), QSize(6, 6));
    EXPECT_EQ(whole.accessibleName(), QStringLiteral("数据状态"));
    EXPECT_FALSE(whole.isFresh());  // nothing configured
    EXPECT_EQ(whole.helpText(), QStringLiteral("等待账户数据"));
    EXPECT_TRUE(whole.toolTip().contains(QStringLiteral("等待账户数据")));
    EXPECT_EQ(whole.dotColor(), VantrellPalette::systemOrange(&whole));

    staged.stage(Exchange::binance, "100");
    staged.stageFailure(Exchange::okx, QStringLiteral("<b>拒绝</b> & <img src=x>"));
    staged.refresh();
    PortfolioFreshnessDot binance(staged.store(), Exchange::binance);
    PortfolioFreshnessDot okx(staged.store(), Exchange::okx);
    EXPECT_EQ(binance.dotColor(), VantrellPalette::systemGreen(&binance));
    EXPECT_EQ(okx.dotColor(), VantrellPalette::systemOrange(&okx));
    EXPECT_FALSE(whole.isFresh());
    // The description carries exchange texts: the tooltip is its escaped form.
    EXPECT_TRUE(whole.helpText().startsWith(QStringLiteral("Binance：正常")));
    EXPECT_EQ(whole.toolTip(), PlainText::toolTip(whole.helpText()));
    EXPECT_EQ(whole.accessibleDescription(), staged.store().freshnessDescription());
}

}  // namespace
