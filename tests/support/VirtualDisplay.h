#pragma once

#include <QProcess>
#include <QString>

#include <optional>

namespace vantrell::test {

// An Xvfb server on a display number it picks itself; stopped when the object goes, after which
// its socket is gone.
//
//     VirtualDisplay display(QStandardPaths::findExecutable(QStringLiteral("Xvfb")));
//     const std::optional<QString> name = display.waitForDisplay();   // ":N"
//     program.setProcessEnvironment(VirtualDisplay::clientEnvironment(*name));
class VirtualDisplay {
public:
    explicit VirtualDisplay(const QString& program);
    ~VirtualDisplay();
    VirtualDisplay(const VirtualDisplay&) = delete;
    VirtualDisplay& operator=(const VirtualDisplay&) = delete;

    // ":N" once the server reported its display, or nothing when it did not start in time.
    std::optional<QString> waitForDisplay();

    // This process's environment for a Qt program on `display` (X11, never Wayland).
    static QProcessEnvironment clientEnvironment(const QString& display);
    // The same with no desktop bus: both bus addresses name a socket in `folder` that is never
    // made, so the platform's look-ups there fail at once.
    static QProcessEnvironment clientEnvironmentWithoutBus(const QString& display,
                                                           const QString& folder);

private:
    QProcess m_server;
};

}  // namespace vantrell::test
