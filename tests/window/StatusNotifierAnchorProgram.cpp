// Opens the popover on the X display it runs on as a StatusNotifierItem host's click at the
// device point given as arguments does, and prints the screen's device pixel ratio, the
// popover's logical geometry and the position of its window on the server, in device pixels.
// Run with QT_SCALE_FACTOR to see the click mapped onto a scaled screen.

#include "support/X11Connection.h"
#include "support/ui/StagedScenes.h"
#include "window/PopoverWindow.h"
#include "window/SceneRegistry.h"
#include "window/StatusNotifierItem.h"
#include "window/StatusNotifierItemAdaptor.h"
#include "window/TrayController.h"

#include <QApplication>
#include <QLabel>
#include <QScreen>

#include <xcb/xcb.h>

#include <cstdio>
#include <cstdlib>
#include <memory>

namespace {

using vantrell::test::X11Connection::connection;
using vantrell::test::X11Connection::settle;

// Where the window's top-left corner is on the root window; every request so far is handled.
QPoint serverPosition(const QWidget& window)
{
    const auto id = static_cast<xcb_window_t>(window.winId());
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(connection())).data->root;
    const auto cookie = xcb_translate_coordinates(connection(), id, root, 0, 0);
    const std::unique_ptr<xcb_translate_coordinates_reply_t, decltype(&std::free)> reply(
        xcb_translate_coordinates_reply(connection(), cookie, nullptr), &std::free);
    return reply ? QPoint(reply->dst_x, reply->dst_y) : QPoint(-1, -1);
}

}  // namespace

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    if (qGuiApp->nativeInterface<QNativeInterface::QX11Application>() == nullptr || argc != 3) {
        return 2;
    }
    vantrell::test::StagedScenes scenes;
    vantrell::SceneContents contents;
    contents.popover = [](const vantrell::PopoverObjects&) {
        return new QLabel(QStringLiteral("popover"));
    };
    contents.settingsForm = [](const vantrell::SettingsObjects&) { return new QLabel(); };
    vantrell::SceneRegistry registry(scenes.mainWindowObjects(), contents, scenes.staged.defaults,
                                     true);
    auto* adaptor =
        registry.tray()->statusNotifierItem()->findChild<vantrell::StatusNotifierItemAdaptor*>();
    if (adaptor == nullptr) {
        return 3;
    }
    adaptor->Activate(std::atoi(argv[1]), std::atoi(argv[2]));
    settle();
    const vantrell::PopoverWindow* popover = registry.popover();
    if (!popover->isVisible()) {
        return 4;
    }
    const QRect logical = popover->geometry();
    const QPoint device = serverPosition(*popover);
    std::printf("%g %d %d %d %d %d %d\n", QGuiApplication::primaryScreen()->devicePixelRatio(),
                logical.x(), logical.y(), logical.width(), logical.height(), device.x(),
                device.y());
    return 0;
}
