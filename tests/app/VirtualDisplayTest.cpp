#include "support/VirtualDisplay.h"

#include <QFile>
#include <QStandardPaths>

#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <optional>

using namespace vantrell::test;

namespace {

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
TEST(VirtualDisplayTest, LeavesNoSocketBehind)
{
    const QString xvfb = QStandardPaths::findExecutable(QStringLiteral("Xvfb"));
    if (xvfb.isEmpty()) {
        GTEST_SKIP() << "Xvfb is not installed (scripts/install-deps adds it)";
    }
    std::optional<VirtualDisplay> display(std::in_place, xvfb);
    const std::optional<QString> name = display->waitForDisplay();
    ASSERT_TRUE(name) << "Xvfb did not report a display";
    const QString socket = QStringLiteral("/tmp/.X11-unix/X") + name->mid(1);
    const ino_t ours = socketAt(socket);
    ASSERT_NE(ours, ino_t(0)) << "no socket at " << socket.toStdString();

    display.reset();
    // A server of another test may have taken the number since: its socket is another file,
    // though maybe with the inode just freed, and someone listens on it.
    const bool leftBehind = socketAt(socket) == ours && !accepts(socket);
    EXPECT_FALSE(leftBehind) << socket.toStdString() << " was left behind";
}

}  // namespace
