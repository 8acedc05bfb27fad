#include "support/VirtualDisplayFixture.h"

#include <QFile>
#include <QThread>

#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>
#include <xcb/xcb.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>

using namespace vantrell::test;

namespace {

class VirtualDisplayTest : public VirtualDisplayFixture {};

// The inode of the socket at `path`, or 0 when there is none.
ino_t socketAt(const QString& path)
{
    struct stat status {};
    if (::lstat(QFile::encodeName(path).constData(), &status) != 0 || !S_ISSOCK(status.st_mode)) {
        return 0;
    }
    return status.st_ino;
}

// Whether a server listens on the socket at `path`.
bool accepts(const QString& path)
{
    const int client = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const QByteArray name = QFile::encodeName(path);
    std::memcpy(address.sun_path, name.constData(),
                std::min<std::size_t>(name.size(), sizeof(address.sun_path) - 1));
    const bool connected =
        ::connect(client, reinterpret_cast<const sockaddr*>(&address), sizeof(address)) == 0;
    ::close(client);
    return connected;
}

// A server left to die by SIGKILL leaves its socket behind, and a client that finds the display
// by that path can no longer connect.
TEST_F(VirtualDisplayTest, LeavesNoSocketBehind)
{
    const QString socket = QStringLiteral("/tmp/.X11-unix/X") + displayName.mid(1);
    const ino_t ours = socketAt(socket);
    ASSERT_NE(ours, ino_t(0)) << "no socket at " << socket.toStdString();

    display.reset();
    // A server of another test may have taken the number since: its socket is another file,
    // though maybe with the inode just freed, and someone listens on it.
    const bool leftBehind = socketAt(socket) == ours && !accepts(socket);
    EXPECT_FALSE(leftBehind) << socket.toStdString() << " was left behind";
}

// The atom of a name of our own on `display`, made when `make` is true, else only looked up
// (XCB_ATOM_NONE when the server does not know it, or when no connection could be made).
xcb_atom_t markAtom(const QString& display, bool make)
{
    static constexpr char name[] = "VANTRELL_TEST_MARK";
    xcb_connection_t* connection = xcb_connect(display.toLatin1().constData(), nullptr);
    xcb_atom_t atom = XCB_ATOM_NONE;
    if (xcb_connection_has_error(connection) == 0) {
        const xcb_intern_atom_cookie_t cookie =
            xcb_intern_atom(connection, make ? 0 : 1, sizeof(name) - 1, name);
        if (xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(connection, cookie, nullptr)) {
            atom = reply->atom;
            std::free(reply);
        }
    }
    xcb_disconnect(connection);
    return atom;
}

// A server that resets when its last client leaves forgets every atom made, and refuses the
// clients that connect meanwhile.
TEST_F(VirtualDisplayTest, OutlivesItsLastClient)
{
    ASSERT_NE(markAtom(displayName, true), XCB_ATOM_NONE);
    // Time for the server to see the client go, which is when it would reset.
    QThread::msleep(100);
    EXPECT_NE(markAtom(displayName, false), XCB_ATOM_NONE) << "the server reset";
}

}  // namespace
