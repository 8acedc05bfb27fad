#pragma once

#include <QCoreApplication>
#include <QGuiApplication>

#include <xcb/xcb.h>

#include <cstdlib>

// For the small programs that tests run on a virtual X server.
namespace vantrell::test::X11Connection {

// Qt's own connection to the X server.
inline xcb_connection_t* connection()
{
    return qGuiApp->nativeInterface<QNativeInterface::QX11Application>()->connection();
}

// Lets Qt handle what it has queued, then makes a round trip: every request sent so far has
// been handled by the server.
inline void settle()
{
    for (int i = 0; i < 5; ++i) {
        QCoreApplication::processEvents();
    }
    std::free(xcb_get_input_focus_reply(connection(), xcb_get_input_focus(connection()), nullptr));
}

}  // namespace vantrell::test::X11Connection
