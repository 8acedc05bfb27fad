#include "window/TrayController.h"

#include "settings/AppSettings.h"
#include "support/StagedPortfolio.h"

#include <QSystemTrayIcon>

#include <gtest/gtest.h>

using namespace vantrell;
using namespace vantrell::test;

namespace {

TEST(TrayControllerTest, TitleFollowsTheStoreAndTheDisplayMode)
{
    StagedPortfolio staged;
    staged.stage(Exchange::binance, "12500.40");
    TrayController tray(staged.store(), staged.settings());
    EXPECT_EQ(tray.title(), "—");
    EXPECT_EQ(tray.icon()->toolTip(), "Vantrell  —");

    staged.refresh();
    QCoreApplication::processEvents();
    EXPECT_EQ(tray.title(), "$12,500");
    EXPECT_EQ(tray.icon()->toolTip(), "Vantrell  $12,500");

    staged.settings().setMenuBarDisplayMode(MenuBarDisplayMode::iconOnly);
    QCoreApplication::processEvents();
    EXPECT_EQ(tray.title(), std::nullopt);
    EXPECT_EQ(tray.icon()->toolTip(), "Vantrell");

    staged.settings().setMenuBarDisplayMode(MenuBarDisplayMode::okx);
    QCoreApplication::processEvents();
    EXPECT_EQ(tray.title(), "—");
}

}  // namespace
