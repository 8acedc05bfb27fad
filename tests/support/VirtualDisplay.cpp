#include "support/VirtualDisplay.h"

namespace vantrell::test {

namespace {
constexpr int startTimeoutMs = 10000;
constexpr int stopTimeoutMs = 5000;
}  // namespace

// -noreset: by default the server resets when its last client leaves, and refuses the clients
// that connect meanwhile; a test's short-lived clients come and go at any time.
VirtualDisplay::VirtualDisplay(const QString& program)
{
    m_server.setProgram(program);
    m_server.setArguments({QStringLiteral("-displayfd"), QStringLiteral("1"),
                           QStringLiteral("-noreset"), QStringLiteral("-nolisten"),
                           QStringLiteral("tcp"), QStringLiteral("-screen"), QStringLiteral("0"),
                           QStringLiteral("1280x800x24")});
    m_server.setProcessChannelMode(QProcess::SeparateChannels);
    m_server.start();
}

// Ended with SIGTERM, so that the server removes its socket from /tmp/.X11-unix: a killed one
// leaves it there, dead, for any client that finds the display by that path. SIGKILL only for a
// server that does not end.
VirtualDisplay::~VirtualDisplay()
{
    if (m_server.state() == QProcess::NotRunning) {
        return;
    }
    m_server.terminate();
    if (!m_server.waitForFinished(stopTimeoutMs)) {
        m_server.kill();
        m_server.waitForFinished(stopTimeoutMs);
    }
}

std::optional<QString> VirtualDisplay::waitForDisplay()
{
    QByteArray output;
    while (!output.contains('\n')) {
        if (!m_server.waitForReadyRead(startTimeoutMs)) {
            return std::nullopt;
        }
        output += m_server.readAllStandardOutput();
    }
    return QStringLiteral(":") + QString::fromLatin1(output.trimmed());
}

QProcessEnvironment VirtualDisplay::clientEnvironment(const QString& display)
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("DISPLAY"), display);
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    env.remove(QStringLiteral("WAYLAND_DISPLAY"));
    // Under AddressSanitizer: libxkbcommon-x11 hands strndup() a keymap name that is not
    // NUL-terminated but lies within the given length, which strict string checks report.
    const QString asan = env.value(QStringLiteral("ASAN_OPTIONS"));
    if (!asan.isEmpty()) {
        env.insert(QStringLiteral("ASAN_OPTIONS"),
                   asan + QStringLiteral(":strict_string_checks=0"));
    }
    return env;
}

QProcessEnvironment VirtualDisplay::clientEnvironmentWithoutBus(const QString& display,
                                                                const QString& folder)
{
    QProcessEnvironment env = clientEnvironment(display);
    const QString noBus = QStringLiteral("unix:path=") + folder + QStringLiteral("/no-bus");
    env.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"), noBus);
    env.insert(QStringLiteral("DBUS_SYSTEM_BUS_ADDRESS"), noBus);
    return env;
}

}  // namespace vantrell::test
