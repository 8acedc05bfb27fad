#include "window/SceneRegistry.h"

#include "settings/AppSettings.h"
#include "support/ui/StagedScenes.h"
#include "views/kit/WindowAppearanceBridge.h"
#include "window/MainWindowView.h"
#include "window/PopoverWindow.h"
#include "window/SceneHost.h"
#include "window/TrayController.h"

#include <QLabel>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

using namespace vantrell;
using namespace vantrell::test;

namespace {

class SceneRegistryTest : public ::testing::Test {
protected:
    SceneContents contents()
    {
        SceneContents result;
        result.popover = [this](const PopoverObjects& objects) {
            popoverActions = objects.actions;
            return new QLabel(QStringLiteral("popover"));
        };
        result.settingsForm = [this](const SettingsObjects&) {
            ++settingsFormsMade;
            return new QLabel(QStringLiteral("form"));
        };
        return result;
    }

    StagedScenes scenes;
    SceneActions popoverActions;
    int settingsFormsMade = 0;
};

TEST_F(SceneRegistryTest, SettingsWindowIsMadeOnFirstOpenOnly)
{
    SceneRegistry registry(scenes.mainWindowObjects(), contents(), scenes.staged.defaults, false);
    EXPECT_EQ(registry.window(SceneRegistry::settingsSceneId), nullptr);
    EXPECT_EQ(settingsFormsMade, 0);
    EXPECT_FALSE(registry.window(SceneRegistry::mainSceneId)->isVisible());

    registry.openWindow(SceneRegistry::settingsSceneId);
    SceneHost* settings = registry.window(SceneRegistry::settingsSceneId);
    ASSERT_NE(settings, nullptr);
    EXPECT_TRUE(settings->isVisible());
    EXPECT_EQ(settings->windowTitle(), "Vantrell 设置");
    EXPECT_EQ(settings->size(), QSize(500, 560));

    settings->close();
    registry.openWindow(SceneRegistry::settingsSceneId);
    registry.openWindow(SceneRegistry::settingsSceneId);
    EXPECT_EQ(registry.window(SceneRegistry::settingsSceneId), settings);
    EXPECT_TRUE(settings->isVisible());
    EXPECT_EQ(settingsFormsMade, 1);
}

TEST_F(SceneRegistryTest, MainWindowHasItsTitleAndHostsTheSidebarView)
{
    SceneRegistry registry(scenes.mainWindowObjects(), contents(), scenes.staged.defaults, false);
    registry.openWindow(SceneRegistry::mainSceneId);
    SceneHost* main = registry.window(SceneRegistry::mainSceneId);
    EXPECT_EQ(main->windowTitle(), "Vantrell");
    EXPECT_TRUE(main->isVisible());
    EXPECT_NE(qobject_cast<MainWindowView*>(main->content()), nullptr);
    EXPECT_EQ(main->size(), QSize(840, 550));
    registry.openWindow(QStringLiteral("unknown"));
}

TEST_F(SceneRegistryTest, AppearanceChangeRebuildsEverySceneOnce)
{
    SceneRegistry registry(scenes.mainWindowObjects(), contents(), scenes.staged.defaults, true);
    registry.openWindow(SceneRegistry::settingsSceneId);
    const std::vector<SceneHost*> hosts{registry.window(SceneRegistry::mainSceneId),
                                        registry.window(SceneRegistry::settingsSceneId),
                                        registry.popover()->host()};
    std::vector<QPointer<QWidget>> before;
    for (SceneHost* host : hosts) {
        ASSERT_EQ(host->buildCount(), 1);
        before.emplace_back(host->content());
    }

    AppSettings& settings = scenes.staged.settings();
    settings.setAppearance(AppearanceMode::dark);
    for (size_t i = 0; i < hosts.size(); ++i) {
        EXPECT_EQ(hosts[i]->buildCount(), 2) << hosts[i]->sceneId().toStdString();
        EXPECT_NE(hosts[i]->content(), before[i].data());
        EXPECT_EQ(WindowAppearanceBridge::appliedMode(hosts[i]->window()), AppearanceMode::dark);
        EXPECT_EQ(hosts[i]->window()->palette().color(QPalette::Window),
                  WindowAppearanceBridge::darkPalette().color(QPalette::Window));
    }

    // The same value again touches nothing.
    settings.setAppearance(AppearanceMode::dark);
    for (SceneHost* host : hosts) {
        EXPECT_EQ(host->buildCount(), 2);
    }
    settings.setAppearance(AppearanceMode::system);
    for (SceneHost* host : hosts) {
        EXPECT_EQ(host->buildCount(), 3);
    }
    EXPECT_EQ(settingsFormsMade, 3);
}

TEST_F(SceneRegistryTest, PopoverActionsOpenWindowsAndQuit)
{
    SceneRegistry registry(scenes.mainWindowObjects(), contents(), scenes.staged.defaults, true);
    ASSERT_NE(registry.tray(), nullptr);
    ASSERT_TRUE(popoverActions.openWindow);
    registry.popover()->open(QRect(600, 0, 20, 20), QPoint(), QRect(0, 0, 1280, 800));
    EXPECT_TRUE(registry.popover()->isVisible());

    popoverActions.openWindow(SceneRegistry::settingsSceneId);
    EXPECT_FALSE(registry.popover()->isVisible());
    ASSERT_NE(registry.window(SceneRegistry::settingsSceneId), nullptr);
    EXPECT_TRUE(registry.window(SceneRegistry::settingsSceneId)->isVisible());

    QSignalSpy quit(&registry, &SceneRegistry::quitRequested);
    popoverActions.quit();
    EXPECT_EQ(quit.count(), 1);
}

TEST(PopoverPlacementTest, SitsUnderTheAnchorInsideTheArea)
{
    const QRect area(0, 0, 800, 600);
    const QSize size(370, 420);
    // Centred on the icon's middle (400 + 20 / 2), not on QRect::center(), which is a pixel short.
    EXPECT_EQ(PopoverWindow::placement(QRect(400, 0, 20, 24), QPoint(), area, size),
              QRect(QPoint(225, 28), size));
    // Near the right edge it is pushed back inside.
    EXPECT_EQ(PopoverWindow::placement(QRect(790, 0, 10, 24), QPoint(), area, size),
              QRect(QPoint(430, 28), size));
}

TEST_F(SceneRegistryTest, TrayClickThatClosedThePopoverDoesNotReopenIt)
{
    SceneRegistry registry(scenes.mainWindowObjects(), contents(), scenes.staged.defaults, true);
    PopoverWindow* popover = registry.popover();
    popover->toggleAt(QRect(600, 0, 20, 20));
    ASSERT_TRUE(popover->isVisible());
    popover->toggleAt(QRect(600, 0, 20, 20));
    EXPECT_FALSE(popover->isVisible());

    QTest::qWait(PopoverWindow::reopenGuardMs + 50);
    popover->toggleAt(QRect(600, 0, 20, 20));
    ASSERT_TRUE(popover->isVisible());
    // A click on the tray item first hides the popover as an outside click, then arrives.
    popover->hide();
    popover->toggleAt(QRect(600, 0, 20, 20));
    EXPECT_FALSE(popover->isVisible());
    QTest::qWait(PopoverWindow::reopenGuardMs + 50);
    popover->toggleAt(QRect(600, 0, 20, 20));
    EXPECT_TRUE(popover->isVisible());
}

TEST(TrayTooltipTest, CarriesTheTitleWhenThereIsOne)
{
    EXPECT_EQ(TrayController::toolTipFor(std::nullopt), "Vantrell");
    EXPECT_EQ(TrayController::toolTipFor(QStringLiteral("$12,345")), "Vantrell  $12,345");
}

}  // namespace
