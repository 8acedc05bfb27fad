#include "window/FloatingPanelDesktops.h"

#include <QGuiApplication>
#include <QWidget>

#include <xcb/xcb.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>

namespace vantrell {

namespace {

constexpr std::uint32_t allDesktops = 0xFFFFFFFF;

template <class Reply>
using ReplyPointer = std::unique_ptr<Reply, decltype(&std::free)>;

xcb_atom_t atomNamed(xcb_connection_t* connection, const char* name)
{
    const auto cookie =
        xcb_intern_atom(connection, 0, static_cast<std::uint16_t>(std::strlen(name)), name);
    const ReplyPointer<xcb_intern_atom_reply_t> reply(
        xcb_intern_atom_reply(connection, cookie, nullptr), &std::free);
    return reply ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
}

bool hasState(xcb_connection_t* connection, xcb_window_t window, xcb_atom_t states,
              xcb_atom_t state)
{
    const auto cookie = xcb_get_property(connection, 0, window, states, XCB_ATOM_ATOM, 0, 64);
    const ReplyPointer<xcb_get_property_reply_t> reply(
        xcb_get_property_reply(connection, cookie, nullptr), &std::free);
    if (!reply || reply->format != 32) {
        return false;
    }
    const auto* atoms = static_cast<const xcb_atom_t*>(xcb_get_property_value(reply.get()));
    const int count = xcb_get_property_value_length(reply.get()) / 4;
    return std::find(atoms, atoms + count, state) != atoms + count;
}

// Qt keeps the states it finds on an unmapped window when it adds its own.
void addState(xcb_connection_t* connection, xcb_window_t window, const char* name)
{
    const xcb_atom_t states = atomNamed(connection, "_NET_WM_STATE");
    const xcb_atom_t state = atomNamed(connection, name);
    if (states == XCB_ATOM_NONE || state == XCB_ATOM_NONE ||
        hasState(connection, window, states, state)) {
        return;
    }
    xcb_change_property(connection, XCB_PROP_MODE_APPEND, window, states, XCB_ATOM_ATOM, 32, 1,
                        &state);
}

}  // namespace

bool FloatingPanelDesktops::requestAllDesktops(QWidget& window)
{
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    if (x11 == nullptr || x11->connection() == nullptr) {
        return false;
    }
    xcb_connection_t* connection = x11->connection();
    const auto id = static_cast<xcb_window_t>(window.winId());
    const xcb_atom_t desktop = atomNamed(connection, "_NET_WM_DESKTOP");
    if (desktop != XCB_ATOM_NONE) {
        xcb_change_property(connection, XCB_PROP_MODE_REPLACE, id, desktop, XCB_ATOM_CARDINAL, 32,
                            1, &allDesktops);
    }
    addState(connection, id, "_NET_WM_STATE_STICKY");
    xcb_flush(connection);
    return true;
}

}  // namespace vantrell
