#include "support/StagedPortfolio.h"
#include "views/kit/CardFrame.h"
#include "views/kit/ChangeTint.h"
#include "views/kit/EmptyStateView.h"
#include "views/kit/FitLabel.h"
#include "views/kit/MoneyText.h"
#include "views/kit/PlainText.h"
#include "views/kit/SegmentedControl.h"
#include "views/kit/SymbolIcon.h"
#include "views/kit/VantrellPalette.h"
#include "views/kit/ViewFonts.h"
#include "views/kit/WindowAppearanceBridge.h"

#include <QFontMetrics>
#include <QImage>
#include <QLabel>
#include <QPainter>
#include <QSignalSpy>
#include <QTest>
#include <QToolButton>

#include <gtest/gtest.h>

using namespace vantrell;
using namespace vantrell::test;

namespace {

Decimal dec(const char* text)
{
    return *Decimal::parse(text);
}

TEST(ViewKitTest, PercentPeriodAndTint)
{
    struct Row {
        const char* percent;
        const char* text;
        ChangeTint tint;
    };
    for (const Row& row :
         {Row{"1.234", "+1.23%", ChangeTint::gain}, Row{"-0.5", "-0.50%", ChangeTint::loss},
          Row{"0", "0.00%", ChangeTint::gain}, Row{"12.345", "+12.35%", ChangeTint::gain},
          Row{"-0.001", "-0.00%", ChangeTint::loss}}) {
        EXPECT_EQ(MoneyText::signedPercent(dec(row.percent)), QString::fromUtf8(row.text))
            << row.percent;
        EXPECT_EQ(changeTintOf(dec(row.percent)), row.tint) << row.percent;
    }
    EXPECT_EQ(changeTintOf(std::nullopt), ChangeTint::primary);
    EXPECT_EQ(MoneyText::periodLabel(PerformancePeriod::today), QStringLiteral("今日"));
    EXPECT_EQ(MoneyText::periodLabel(PerformancePeriod::twentyFourHours), QStringLiteral("24h"));
    EXPECT_EQ(changeTintColor(ChangeTint::gain, nullptr), VantrellPalette::gain());
    EXPECT_EQ(changeTintColor(ChangeTint::loss, nullptr), VantrellPalette::loss());
    EXPECT_EQ(VantrellPalette::gain(), QColor::fromRgbF(0.94f, 0.25f, 0.29f));
}

TEST(ViewKitTest, AmountsInTheDisplayCurrency)
{
    StagedPortfolio staged;
    AppSettings& settings = staged.settings();
    EXPECT_EQ(MoneyText::amount(settings, dec("1234.567"), false), QStringLiteral("$1,234.57"));
    EXPECT_EQ(MoneyText::amount(settings, dec("1234.99"), true), QStringLiteral("$1,234"));
    settings.setDisplayCurrency(DisplayCurrency::cny);  // no rates stored
    EXPECT_EQ(MoneyText::amount(settings, dec("10"), false), QStringLiteral("—"));
}

TEST(ViewKitTest, RemoteTextIsNeverMarkup)
{
    QLabel* label = PlainText::label(QStringLiteral("<b>x</b>"));
    EXPECT_EQ(label->textFormat(), Qt::PlainText);
    delete label;
    const QString tip = PlainText::toolTip(QStringLiteral("<a href='x'>y</a>\n第二行"));
    EXPECT_FALSE(tip.contains(QStringLiteral("<a")));
    EXPECT_TRUE(tip.contains(QStringLiteral("&lt;a href=&#x27;x&#x27;&gt;")) ||
                tip.contains(QStringLiteral("&lt;a href='x'&gt;")));
    EXPECT_TRUE(tip.contains(QStringLiteral("第二行")));
    EXPECT_TRUE(PlainText::toolTip(QString()).isEmpty());
}

TEST(ViewKitTest, FitLabelShrinksBeforeEliding)
{
    FitLabel label(ViewFonts::font(18, QFont::DemiBold), 0.75);
    label.setText(QStringLiteral("$28,896.30"));
    const int natural = label.sizeHint().width();
    EXPECT_EQ(label.fittedPixelSize(natural), 18);
    EXPECT_EQ(label.displayedText(natural), label.text());

    const int smaller = label.fittedPixelSize(natural * 85 / 100);
    EXPECT_LT(smaller, 18);
    EXPECT_GE(smaller, 14);  // 0.75 × 18, rounded up
    EXPECT_EQ(label.displayedText(natural * 85 / 100), label.text());

    EXPECT_EQ(label.fittedPixelSize(natural / 3), 14);
    EXPECT_TRUE(label.displayedText(natural / 3).endsWith(QStringLiteral("…")));
    EXPECT_LT(label.minimumSizeHint().width(), natural / 3);
}

TEST(ViewKitTest, FitLabelIsPaddedByItsContentsMargins)
{
    FitLabel label(ViewFonts::font(11));
    label.setText(QStringLiteral("暂无合约持仓"));
    const QSize natural = label.sizeHint();
    const QSize shortest = label.minimumSizeHint();
    label.setContentsMargins(3, 7, 5, 7);
    EXPECT_EQ(label.sizeHint(), natural + QSize(8, 14));
    EXPECT_EQ(label.minimumSizeHint(), shortest + QSize(8, 14));

    label.resize(label.sizeHint());
    QImage image(label.size(), QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    label.render(&image, QPoint(), QRegion(), QWidget::DrawChildren);
    int top = image.height();
    int bottom = -1;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (image.pixelColor(x, y).alpha() != 0) {
                top = std::min(top, y);
                bottom = y;
            }
        }
    }
    EXPECT_GE(top, 7);  // the text is drawn inside the padding
    EXPECT_LT(bottom, image.height() - 7);
}

TEST(ViewKitTest, AppearanceIsAppliedOnceAndResolvedWhenPainting)
{
    WindowAppearanceBridge::installStyle();
    QWidget window;
    CardFrame card(10, &window);
    EXPECT_FALSE(WindowAppearanceBridge::appliedMode(&window));

    EXPECT_TRUE(WindowAppearanceBridge::apply(&window, AppearanceMode::dark));
    EXPECT_TRUE(VantrellPalette::isDark(&card));  // children follow the window
    EXPECT_EQ(VantrellPalette::card(&card), QColor(0x2B, 0x2B, 0x2E));
    EXPECT_FALSE(WindowAppearanceBridge::apply(&window, AppearanceMode::dark));

    EXPECT_TRUE(WindowAppearanceBridge::apply(&window, AppearanceMode::light));
    EXPECT_EQ(VantrellPalette::card(&card), QColor(0xFF, 0xFF, 0xFF));
    EXPECT_TRUE(WindowAppearanceBridge::apply(&window, AppearanceMode::system));
    EXPECT_EQ(window.palette().color(QPalette::Window),
              WindowAppearanceBridge::systemPalette().color(QPalette::Window));
    EXPECT_EQ(WindowAppearanceBridge::appliedMode(&window), AppearanceMode::system);
    EXPECT_FALSE(WindowAppearanceBridge::apply(nullptr, AppearanceMode::dark));
}

TEST(ViewKitTest, SegmentedControlPicksOneSegment)
{
    SegmentedControl control(
        {QStringLiteral("完整版"), QStringLiteral("简版"), QStringLiteral("透明")});
    control.setObjectName(QStringLiteral("floatingStyleControl"));
    QSignalSpy changes(&control, &SegmentedControl::currentIndexChanged);
    EXPECT_EQ(control.count(), 3);
    EXPECT_EQ(control.currentIndex(), -1);
    auto* compact =
        control.findChild<QToolButton*>(QStringLiteral("floatingStyleControl.segment1"));
    ASSERT_NE(compact, nullptr);
    QTest::mouseClick(compact, Qt::LeftButton);
    EXPECT_EQ(control.currentIndex(), 1);
    EXPECT_TRUE(compact->isChecked());
    control.setCurrentIndex(2);
    EXPECT_FALSE(compact->isChecked());
    control.setCurrentIndex(2);   // unchanged
    control.setCurrentIndex(7);   // out of range
    control.setCurrentIndex(-1);  // out of range
    EXPECT_EQ(changes.count(), 2);
    EXPECT_EQ(control.currentIndex(), 2);
}

// The style's pressed shade is nearly the dark button colour: in the dark look the chosen
// segment carries a clearly lighter fill, which follows the choice and leaves with the look.
TEST(ViewKitTest, SegmentedControlMarksTheChoiceInTheDarkLook)
{
    QWidget window;
    auto* control = new SegmentedControl(
        {QStringLiteral("今日"), QStringLiteral("24 小时"), QStringLiteral("7 天")}, &window);
    control->setCurrentIndex(0);
    WindowAppearanceBridge::apply(&window, AppearanceMode::dark);
    const auto fillOf = [&](int index) {
        return control->segment(index)->palette().color(QPalette::Button);
    };
    const int plain = fillOf(1).lightness();
    EXPECT_EQ(fillOf(2), fillOf(1));
    EXPECT_GE(fillOf(0).lightness() - plain, 40);

    QTest::mouseClick(control->segment(2), Qt::LeftButton);
    EXPECT_EQ(fillOf(0).lightness(), plain);
    EXPECT_GE(fillOf(2).lightness() - plain, 40);

    WindowAppearanceBridge::apply(&window, AppearanceMode::light);
    for (int index = 0; index < control->count(); ++index) {
        EXPECT_FALSE(control->segment(index)->testAttribute(Qt::WA_SetPalette)) << index;
        EXPECT_EQ(fillOf(index), window.palette().color(QPalette::Button)) << index;
    }
}

TEST(ViewKitTest, EmptyStateShowsPlainText)
{
    EmptyStateView empty(QStringLiteral("briefcase"), QStringLiteral("<i>暂无持仓</i>"), QString());
    EXPECT_EQ(empty.title(), QStringLiteral("<i>暂无持仓</i>"));
    auto* title = empty.findChild<QLabel*>(QStringLiteral("emptyStateTitle"));
    ASSERT_NE(title, nullptr);
    EXPECT_EQ(title->textFormat(), Qt::PlainText);
    EXPECT_TRUE(empty.findChild<QLabel*>(QStringLiteral("emptyStateDescription"))->isHidden());
    EXPECT_FALSE(empty.findChild<QLabel*>(QStringLiteral("emptyStateIcon"))->pixmap().isNull());
}

int inkedPixels(const QPixmap& pixmap)
{
    const QImage image = pixmap.toImage();
    int inked = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            inked += image.pixelColor(x, y).alpha() > 0 ? 1 : 0;
        }
    }
    return inked;
}

TEST(ViewKitTest, EverySymbolTheWindowsUseIsDrawn)
{
    const QStringList used{"xmark.circle.fill",
                           "arrow.clockwise",
                           "gearshape",
                           "power",
                           "arrow.down.circle.fill",
                           "macwindow",
                           "pip",
                           "key",
                           "exclamationmark.triangle.fill",
                           "exclamationmark.triangle",
                           "arrow.triangle.2.circlepath",
                           "tray",
                           "arrow.up.arrow.down",
                           "checkmark",
                           "checkmark.circle.fill",
                           "arrow.up.right.square",
                           "trash",
                           "slider.horizontal.3",
                           "plus",
                           "lock.fill",
                           "house",
                           "diamond.fill",
                           "square.grid.3x3.fill",
                           "b.circle.fill",
                           "b.square.fill",
                           "g.circle.fill",
                           "link",
                           "briefcase",
                           "list.bullet.rectangle",
                           "chart.bar.xaxis",
                           "chart.xyaxis.line"};
    for (const QString& name : used) {
        ASSERT_TRUE(SymbolIcon::exists(name)) << name.toStdString();
        const QPixmap pixmap = SymbolIcon::pixmap(name, 24, Qt::black);
        const int inked = inkedPixels(pixmap);
        EXPECT_GT(inked, 20) << name.toStdString();
        EXPECT_LT(inked, 24 * 24) << name.toStdString();  // a symbol, not a filled square
    }
    EXPECT_EQ(SymbolIcon::names().size(), used.size());
}

TEST(ViewKitTest, UnknownSymbolIsEmpty)
{
    const QString unknown = QStringLiteral("no.such.symbol");
    EXPECT_FALSE(SymbolIcon::exists(unknown));
    const QPixmap pixmap = SymbolIcon::pixmap(unknown, 16, Qt::black, 2.0);
    EXPECT_EQ(pixmap.deviceIndependentSize(), QSizeF(16, 16));
    EXPECT_EQ(inkedPixels(pixmap), 0);
    QImage image(8, 8, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    EXPECT_FALSE(SymbolIcon::paint(painter, QRectF(0, 0, 8, 8), unknown, Qt::black));
    EXPECT_FALSE(SymbolIcon::paint(painter, QRectF(), QStringLiteral("plus"), Qt::black));
    EXPECT_TRUE(SymbolIcon::pixmap(QString(), 0, Qt::black).isNull() == false);
}

}  // namespace
