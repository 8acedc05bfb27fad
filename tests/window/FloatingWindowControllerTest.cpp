#include "window/FloatingWindowController.h"

#include "support/StagedPortfolio.h"
#include "views/floating/FloatingPortfolioView.h"
#include "window/FloatingPanel.h"
#include "window/FloatingPanelGeometry.h"

#include <QCoreApplication>
#include <QSignalSpy>
#include <QTest>
#include <QToolButton>

#include <gtest/gtest.h>

using namespace vantrell;
using namespace vantrell::test;

namespace {

using Style = FloatingDisplayStyle;

class FloatingWindowControllerTest : public ::testing::Test {
protected:
    // Shows the panel and lets the queued first deliveries of the settings arrive.
    FloatingPanel& show()
    {
        controller.toggle(staged.store(), staged.settings());
        settle();
        return *controller.panel();
    }
    static void settle() { QCoreApplication::processEvents(); }
    static QPoint topRight(const QRect& r) { return {r.x() + r.width(), r.y()}; }

    StagedPortfolio staged;
    FloatingWindowController controller{staged.defaults};
};

TEST_F(FloatingWindowControllerTest, TogglingShowsAndHidesOneLastingPanel)
{
    QSignalSpy visibility(&controller, &FloatingWindowController::isVisibleChanged);
    EXPECT_FALSE(controller.isVisible());
    EXPECT_EQ(controller.panel(), nullptr);  // made on the first show only

    FloatingPanel& panel = show();
    EXPECT_TRUE(controller.isVisible());
    EXPECT_TRUE(panel.isVisible());
    const Qt::WindowFlags flags = panel.windowFlags();
    EXPECT_TRUE(flags.testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_TRUE(flags.testFlag(Qt::FramelessWindowHint));
    EXPECT_EQ(flags & Qt::WindowType_Mask, Qt::Tool);  // never the main window
    // Shown without activating the application (the offscreen platform activates every
    // window it shows, so only the request can be checked here).
    EXPECT_TRUE(panel.testAttribute(Qt::WA_ShowWithoutActivating));
    EXPECT_TRUE(flags.testFlag(Qt::WindowDoesNotAcceptFocus));

    controller.toggle(staged.store(), staged.settings());
    EXPECT_FALSE(controller.isVisible());
    EXPECT_FALSE(panel.isVisible());
    controller.toggle(staged.store(), staged.settings());
    EXPECT_EQ(controller.panel(), &panel);
    EXPECT_TRUE(panel.isVisible());
    EXPECT_EQ(visibility.count(), 3);
}

TEST_F(FloatingWindowControllerTest, FirstShowUsesTheDefaultPlaceOfEveryStyle)
{
    // The offscreen screen is 800 × 600.
    struct Row {
        Style style;
        QRect frame;
    };
    for (const Row& row :
         {Row{Style::full, {430, 20, 350, 142}}, Row{Style::compact, {510, 20, 270, 76}},
          Row{Style::transparent, {540, 20, 240, 34}}}) {
        StagedPortfolio staged;
        staged.settings().setFloatingStyle(row.style);
        FloatingWindowController controller(staged.defaults);
        controller.toggle(staged.store(), staged.settings());
        settle();
        EXPECT_EQ(controller.panel()->geometry(), row.frame) << toStored(row.style).toStdString();
        EXPECT_EQ(controller.panel()->hasShadow(), row.style != Style::transparent);
    }
}

TEST_F(FloatingWindowControllerTest, SmallScreenClampsThePanel)
{
    controller.setScreenArea([](const QWidget*) { return QRect(0, 0, 300, 200); });
    FloatingPanel& panel = show();
    // Wider than the screen: right-aligned with the left part off screen.
    EXPECT_EQ(panel.geometry(), QRect(-50, 20, 350, 142));

    staged.settings().setFloatingStyle(Style::compact);
    settle();
    EXPECT_EQ(panel.geometry(), QRect(30, 20, 270, 76));
}

TEST_F(FloatingWindowControllerTest, StyleChangesApplyWhileHiddenAndKeepTheCorner)
{
    FloatingPanel& panel = show();
    const QPoint corner = topRight(panel.geometry());
    controller.hide();

    staged.settings().setFloatingStyle(Style::transparent);
    EXPECT_EQ(panel.size(), QSize(350, 142));  // delivered after the setter returned
    settle();
    EXPECT_EQ(panel.size(), QSize(240, 34));
    EXPECT_EQ(topRight(panel.geometry()), corner);
    EXPECT_FALSE(panel.hasShadow());
    EXPECT_EQ(panel.maximumSize(), QSize(320, 54));

    staged.settings().setFloatingStyle(Style::full);
    settle();
    EXPECT_EQ(panel.size(), QSize(350, 142));
    EXPECT_EQ(panel.minimumSize(), QSize(330, 132));
    EXPECT_TRUE(panel.hasShadow());
    EXPECT_EQ(topRight(panel.geometry()), corner);
    EXPECT_FALSE(controller.isVisible());
}

TEST_F(FloatingWindowControllerTest, SettingChangesAreQueuedAndDeduplicated)
{
    show();
    const int configured = controller.configureCount();
    const int locked = controller.lockCount();
    const int appearance = controller.appearanceCount();

    // The same values again: nothing happens.
    staged.settings().setFloatingStyle(staged.settings().floatingStyle());
    staged.settings().setFloatingLocked(false);
    staged.settings().setAppearance(staged.settings().appearance());
    settle();
    EXPECT_EQ(controller.configureCount(), configured);
    EXPECT_EQ(controller.lockCount(), locked);
    EXPECT_EQ(controller.appearanceCount(), appearance);

    // Several changes in one turn of the event loop are applied once, with the last value.
    staged.settings().setFloatingStyle(Style::transparent);
    staged.settings().setFloatingStyle(Style::compact);
    staged.settings().setAppearance(AppearanceMode::dark);
    staged.settings().setAppearance(AppearanceMode::dark);
    settle();
    EXPECT_EQ(controller.configureCount(), configured + 1);
    EXPECT_EQ(controller.panel()->size(), QSize(270, 76));
    EXPECT_EQ(controller.appearanceCount(), appearance + 1);
    EXPECT_LT(controller.panel()->palette().color(QPalette::Window).lightness(), 128);
}

TEST_F(FloatingWindowControllerTest, LockIsClickThroughWithoutDragging)
{
    FloatingPanel& panel = show();
    const QRect frame = panel.geometry();
    staged.settings().setFloatingLocked(true);
    settle();
    EXPECT_TRUE(panel.windowFlags().testFlag(Qt::WindowTransparentForInput));
    EXPECT_TRUE(panel.isVisible());
    EXPECT_EQ(panel.geometry(), frame);
    EXPECT_FALSE(panel.isMovableByBackground());

    QTest::mousePress(&panel, Qt::LeftButton, {}, QPoint(100, 60));
    QTest::mouseMove(&panel, QPoint(40, 90));
    QTest::mouseRelease(&panel, Qt::LeftButton, {}, QPoint(40, 90));
    EXPECT_EQ(panel.geometry(), frame);

    staged.settings().setFloatingLocked(false);
    settle();
    EXPECT_FALSE(panel.windowFlags().testFlag(Qt::WindowTransparentForInput));
    EXPECT_TRUE(panel.isVisible());
    EXPECT_EQ(panel.geometry(), frame);

    QTest::mousePress(&panel, Qt::LeftButton, {}, QPoint(100, 60));
    QMouseEvent move(QEvent::MouseMove, QPointF(40, 90), panel.mapToGlobal(QPointF(40, 90)),
                     Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&panel, &move);
    QTest::mouseRelease(&panel, Qt::LeftButton, {}, QPoint(40, 90));
    EXPECT_EQ(panel.pos(), frame.topLeft() + QPoint(-60, 30));
}

TEST_F(FloatingWindowControllerTest, LockedAtCreation)
{
    staged.settings().setFloatingLocked(true);
    FloatingPanel& panel = show();
    EXPECT_TRUE(panel.windowFlags().testFlag(Qt::WindowTransparentForInput));
    EXPECT_TRUE(panel.isVisible());
    EXPECT_EQ(panel.geometry(), QRect(430, 20, 350, 142));
}

TEST_F(FloatingWindowControllerTest, FrameIsSavedAndRestoredWithItsCorner)
{
    FloatingPanel& panel = show();
    panel.move(200, 150);
    QTest::qWait(300);
    EXPECT_EQ(staged.defaults.value(FloatingPanelGeometry::autosaveKey).toString(),
              QStringLiteral("200 150 350 142"));

    // The next run starts where the panel was; the style's size wins, the corner stays.
    StagedPortfolio next;
    next.defaults.setValue(FloatingPanelGeometry::autosaveKey, QStringLiteral("200 150 400 180"));
    FloatingWindowController restored(next.defaults);
    restored.toggle(next.store(), next.settings());
    settle();
    EXPECT_EQ(restored.panel()->geometry(), QRect(250, 150, 350, 142));
}

TEST_F(FloatingWindowControllerTest, UnreadableSavedFrameFallsBackToTheDefault)
{
    staged.defaults.setValue(FloatingPanelGeometry::autosaveKey, QStringLiteral("garbage"));
    EXPECT_EQ(show().geometry(), QRect(430, 20, 350, 142));

    StagedPortfolio next;
    next.defaults.setValue(FloatingPanelGeometry::autosaveKey,
                           QStringLiteral("2147483600 2147483600 2147483647 2147483647"));
    FloatingWindowController restored(next.defaults);
    restored.toggle(next.store(), next.settings());
    settle();
    EXPECT_EQ(restored.panel()->geometry(), QRect(430, 20, 350, 142));
}

TEST_F(FloatingWindowControllerTest, CloseButtonHidesThePanel)
{
    FloatingPanel& panel = show();
    auto* close = panel.findChild<QToolButton*>(QStringLiteral("floatingCloseButton"));
    ASSERT_NE(close, nullptr);
    EXPECT_EQ(close->toolTip(), QStringLiteral("关闭悬浮窗"));
    QTest::mouseClick(close, Qt::LeftButton);
    EXPECT_FALSE(controller.isVisible());
    EXPECT_FALSE(panel.isVisible());
}

}  // namespace
