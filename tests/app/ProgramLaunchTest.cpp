// Starts the built program on a virtual X server, as a person would start it, with empty
// configuration and data folders.

#include <QDir>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTcpServer>
#include <QTemporaryDir>

#include <csignal>

#include <gtest/gtest.h>

#include "support/LoopbackServer.h"
#include "support/SpinUntil.h"
#include "support/VirtualDisplayFixture.h"

using namespace vantrell;
using namespace vantrell::test;
using namespace std::chrono_literals;

namespace {

constexpr int startTimeoutMs = 10000;

class ProgramLaunchTest : public VirtualDisplayFixture {
protected:
    void SetUp() override
    {
        xwininfo = QStandardPaths::findExecutable(QStringLiteral("xwininfo"));
        if (xwininfo.isEmpty()) {
            GTEST_SKIP() << "xwininfo is not installed (scripts/install-deps adds it)";
        }
        VirtualDisplayFixture::SetUp();
        if (IsSkipped() || HasFatalFailure()) {
            return;
        }
        ASSERT_TRUE(home.isValid());
        for (const char* name : {"config", "data", "cache", "runtime"}) {
            ASSERT_TRUE(QDir(home.path()).mkdir(QString::fromLatin1(name)));
        }
        ASSERT_TRUE(QFile::setPermissions(home.filePath(QStringLiteral("runtime")),
                                          QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
    }

    QProcessEnvironment environment() const
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("DISPLAY"), displayName);
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
        env.remove(QStringLiteral("WAYLAND_DISPLAY"));
        env.insert(QStringLiteral("HOME"), home.path());
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), home.filePath(QStringLiteral("config")));
        env.insert(QStringLiteral("XDG_DATA_HOME"), home.filePath(QStringLiteral("data")));
        env.insert(QStringLiteral("XDG_CACHE_HOME"), home.filePath(QStringLiteral("cache")));
        env.insert(QStringLiteral("XDG_RUNTIME_DIR"), home.filePath(QStringLiteral("runtime")));
        // No desktop bus: the program must not reach the real session's services.
        const QString noBus =
            QStringLiteral("unix:path=") + home.filePath(QStringLiteral("no-bus"));
        env.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"), noBus);
        env.insert(QStringLiteral("DBUS_SYSTEM_BUS_ADDRESS"), noBus);
        // Nor the internet: every request goes to a proxy port that refuses connections, as on
        // a machine without network, whatever this machine can reach.
        withProxy(env, noNetwork.baseUrl().toString());
        // Under AddressSanitizer: libxkbcommon-x11 hands strndup() a keymap name that is not
        // NUL-terminated but lies within the given length, which strict string checks report.
        const QString asan = env.value(QStringLiteral("ASAN_OPTIONS"));
        if (!asan.isEmpty()) {
            env.insert(QStringLiteral("ASAN_OPTIONS"),
                       asan + QStringLiteral(":strict_string_checks=0"));
        }
        return env;
    }

    static void withProxy(QProcessEnvironment& env, const QString& proxy)
    {
        for (const char* name : {"https_proxy", "HTTPS_PROXY", "http_proxy", "HTTP_PROXY"}) {
            env.insert(QString::fromLatin1(name), proxy);
        }
        for (const char* name : {"no_proxy", "NO_PROXY", "all_proxy", "ALL_PROXY"}) {
            env.remove(QString::fromLatin1(name));
        }
    }

    void start(QProcess& program, QProcessEnvironment env) const
    {
        program.setProgram(QStringLiteral(VANTRELL_PROGRAM));
        program.setProcessEnvironment(env);
        program.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        program.start();
    }
    void start(QProcess& program) const { start(program, environment()); }

    // The id of the program's top-level window with the given title, once it is viewable.
    bool mainWindowMapped() const
    {
        QProcess tree;
        tree.start(xwininfo, {QStringLiteral("-display"), displayName, QStringLiteral("-root"),
                              QStringLiteral("-children")});
        tree.waitForFinished(startTimeoutMs);
        static const QRegularExpression line(
            QStringLiteral(R"((0x[0-9a-f]+) "Vantrell": \("vantrell" "Vantrell"\))"));
        const QRegularExpressionMatch match =
            line.match(QString::fromUtf8(tree.readAllStandardOutput()));
        if (!match.hasMatch()) {
            return false;
        }
        QProcess info;
        info.start(xwininfo, {QStringLiteral("-display"), displayName, QStringLiteral("-id"),
                              match.captured(1)});
        info.waitForFinished(startTimeoutMs);
        return info.readAllStandardOutput().contains("Map State: IsViewable");
    }

    RefusingPort noNetwork;
    QString xwininfo;
    QTemporaryDir home;
};

TEST_F(ProgramLaunchTest, ShowsItsMainWindowAndEndsCleanlyOnSigterm)
{
    QProcess program;
    start(program);
    ASSERT_TRUE(program.waitForStarted(startTimeoutMs));
    ASSERT_TRUE(spinUntil([&] { return mainWindowMapped(); }, 30s))
        << "the main window was not mapped";
    EXPECT_TRUE(QDir(home.filePath(QStringLiteral("data/Vantrell"))).exists());

    ::kill(static_cast<pid_t>(program.processId()), SIGTERM);
    ASSERT_TRUE(program.waitForFinished(5000)) << "no exit within 5 s of SIGTERM";
    EXPECT_EQ(program.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(program.exitCode(), 0);
}

// The reference-rate download starts with the program. Here it goes through a proxy that takes
// the connection and never answers, as a slow host would: quitting must end it, so that nothing
// stays suspended (the sanitizer build reports such a request's coroutine as a leak) and nothing
// is printed.
TEST_F(ProgramLaunchTest, QuitEndsARequestThatIsStillWaiting)
{
    QTcpServer silentProxy;
    ASSERT_TRUE(silentProxy.listen(QHostAddress::LocalHost));
    int connections = 0;  // the sockets stay open, children of the server
    QObject::connect(&silentProxy, &QTcpServer::newConnection, [&] {
        while (silentProxy.nextPendingConnection() != nullptr) {
            ++connections;
        }
    });
    QProcessEnvironment env = environment();
    withProxy(env, QStringLiteral("http://127.0.0.1:%1").arg(silentProxy.serverPort()));

    QProcess program;
    start(program, env);
    program.setProcessChannelMode(QProcess::SeparateChannels);
    ASSERT_TRUE(program.waitForStarted(startTimeoutMs));
    ASSERT_TRUE(spinUntil([&] { return connections > 0; }, 30s)) << "no request reached the proxy";
    ASSERT_TRUE(spinUntil([&] { return mainWindowMapped(); }, 30s));

    ::kill(static_cast<pid_t>(program.processId()), SIGTERM);
    ASSERT_TRUE(program.waitForFinished(5000)) << "no exit within 5 s of SIGTERM";
    EXPECT_EQ(program.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(program.exitCode(), 0);
    EXPECT_EQ(program.readAllStandardError(), QByteArray());
}

TEST_F(ProgramLaunchTest, SecondStartHandsOverAndEnds)
{
    QProcess first;
    start(first);
    ASSERT_TRUE(first.waitForStarted(startTimeoutMs));
    ASSERT_TRUE(spinUntil([&] { return mainWindowMapped(); }, 30s));

    QProcess second;
    start(second);
    ASSERT_TRUE(second.waitForFinished(5000)) << "the second start kept running";
    EXPECT_EQ(second.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(second.exitCode(), 0);
    EXPECT_EQ(first.state(), QProcess::Running);

    first.terminate();  // SIGTERM
    ASSERT_TRUE(first.waitForFinished(5000));
    EXPECT_EQ(first.exitCode(), 0);
}

}  // namespace
