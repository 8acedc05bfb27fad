// The floating panel on a virtual X server: every time it is shown, its window asks the
// window manager for every desktop and the sticky state, next to Qt's own "above".

#include "support/VirtualDisplayFixture.h"
#include "window/FloatingPanelDesktops.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QWidget>

#include <gtest/gtest.h>

using namespace vantrell;
using namespace vantrell::test;

namespace {

TEST(FloatingPanelDesktopsTest, WithoutX11ThereIsNoOneToAsk)
{
    QWidget window;
    EXPECT_FALSE(FloatingPanelDesktops::requestAllDesktops(window));
}

class FloatingPanelDesktopsOnX11Test : public VirtualDisplayFixture {};

TEST_F(FloatingPanelDesktopsOnX11Test, EveryShowAsksForEveryDesktop)
{
    QProcess program;
    // No desktop bus: the platform's look-ups there are not what is tested.
    const QTemporaryDir busless;
    program.setProcessEnvironment(
        VirtualDisplay::clientEnvironmentWithoutBus(displayName, busless.path()));
    program.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    program.start(QStringLiteral(VANTRELL_FLOATING_PANEL_DESKTOPS_PROGRAM), QStringList());
    ASSERT_TRUE(program.waitForFinished(30000));
    EXPECT_EQ(program.exitCode(), 0);
    const QString expected = QStringLiteral("desktop=ffffffff sticky=1 above=1\n");
    EXPECT_EQ(QString::fromLatin1(program.readAllStandardOutput()), expected + expected);
}

}  // namespace
