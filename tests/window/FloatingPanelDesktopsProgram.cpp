// Shows a floating panel on the X display it runs on, hides it and shows it again, and prints
// after each show what the panel's window asks the window manager for. Xvfb has no window
// manager, so the hints stay on the window as the program set them. The panel's test runs it.

#include "support/X11Connection.h"
#include "window/FloatingPanel.h"

#include <QApplication>
#include <QGuiApplication>

#include <xcb/xcb.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

namespace {

using vantrell::test::X11Connection::connection;
using vantrell::test::X11Connection::settle;
using PropertyReply = std::unique_ptr<xcb_get_property_reply_t, decltype(&std::free)>;

xcb_atom_t atomNamed(const char* name)
{
    const auto cookie =
        xcb_intern_atom(connection(), 1, static_cast<std::uint16_t>(std::strlen(name)), name);
    const std::unique_ptr<xcb_intern_atom_reply_t, decltype(&std::free)> reply(
        xcb_intern_atom_reply(connection(), cookie, nullptr), &std::free);
    return reply ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
}

std::vector<std::uint32_t> property(xcb_window_t window, const char* name, xcb_atom_t type)
{
    const auto cookie = xcb_get_property(connection(), 0, window, atomNamed(name), type, 0, 64);
    const PropertyReply reply(xcb_get_property_reply(connection(), cookie, nullptr), &std::free);
    if (!reply || reply->format != 32) {
        return {};
    }
    const auto* values = static_cast<const std::uint32_t*>(xcb_get_property_value(reply.get()));
    return {values, values + xcb_get_property_value_length(reply.get()) / 4};
}

void report(const QWidget& panel)
{
    const auto window = static_cast<xcb_window_t>(panel.winId());
    const std::vector<std::uint32_t> desktop =
        property(window, "_NET_WM_DESKTOP", XCB_ATOM_CARDINAL);
    const std::vector<std::uint32_t> states = property(window, "_NET_WM_STATE", XCB_ATOM_ATOM);
    const auto count = [&](const char* state) {
        return std::count(states.begin(), states.end(), atomNamed(state));
    };
    std::printf("desktop=%08x sticky=%ld above=%ld\n", desktop.empty() ? 0u : desktop.front(),
                static_cast<long>(count("_NET_WM_STATE_STICKY")),
                static_cast<long>(count("_NET_WM_STATE_ABOVE")));
    std::fflush(stdout);
}

}  // namespace

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    if (qGuiApp->nativeInterface<QNativeInterface::QX11Application>() == nullptr) {
        return 2;
    }
    vantrell::FloatingPanel panel(new QWidget);
    for (int show = 0; show < 2; ++show) {
        panel.present();
        settle();
        report(panel);
        panel.hide();
        settle();
    }
    return 0;
}
