#include "support/ActivationRecordingBus.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>

namespace vantrell::test {

namespace {

constexpr int startTimeoutMs = 10000;

bool writeFile(const QString& path, const QString& text, QFile::Permissions permissions)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(text.toUtf8()) == text.toUtf8().size() &&
           file.setPermissions(permissions);
}

}  // namespace

ActivationRecordingBus::ActivationRecordingBus(const QStringList& services)
{
    const QString daemon = QStandardPaths::findExecutable(QStringLiteral("dbus-daemon"));
    if (daemon.isEmpty() || !m_folder.isValid() || !writeConfiguration(services)) {
        return;
    }
    m_daemon.setProgram(daemon);
    m_daemon.setArguments(
        {QStringLiteral("--config-file=") + m_folder.filePath(QStringLiteral("bus.conf")),
         QStringLiteral("--nofork"), QStringLiteral("--print-address=1")});
    m_daemon.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    m_daemon.start();
}

ActivationRecordingBus::~ActivationRecordingBus()
{
    if (m_daemon.state() != QProcess::NotRunning) {
        m_daemon.terminate();
        m_daemon.waitForFinished(startTimeoutMs);
    }
}

std::optional<QString> ActivationRecordingBus::waitForAddress()
{
    if (!m_daemon.waitForStarted(startTimeoutMs)) {
        return std::nullopt;
    }
    QByteArray output;
    while (!output.contains('\n')) {
        if (!m_daemon.waitForReadyRead(startTimeoutMs)) {
            return std::nullopt;
        }
        output += m_daemon.readAllStandardOutput();
    }
    return QString::fromUtf8(output.trimmed());
}

bool ActivationRecordingBus::wasStarted(const QString& service) const
{
    return QFile::exists(markPath(service));
}

bool ActivationRecordingBus::writeConfiguration(const QStringList& services)
{
    const QString servicesFolder = m_folder.filePath(QStringLiteral("services"));
    const QString config = QStringLiteral(
        "<!DOCTYPE busconfig PUBLIC \"-//freedesktop//DTD D-Bus Bus Configuration 1.0//EN\"\n"
        " \"http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd\">\n"
        "<busconfig>\n"
        "  <type>session</type>\n"
        "  <listen>unix:tmpdir=/tmp</listen>\n"
        "  <auth>EXTERNAL</auth>\n"
        "  <servicedir>%1</servicedir>\n"
        "  <policy context=\"default\">\n"
        "    <allow send_destination=\"*\" eavesdrop=\"true\"/>\n"
        "    <allow eavesdrop=\"true\"/>\n"
        "    <allow own=\"*\"/>\n"
        "  </policy>\n"
        "</busconfig>\n");
    if (!QDir().mkpath(servicesFolder) ||
        !writeFile(m_folder.filePath(QStringLiteral("bus.conf")), config.arg(servicesFolder),
                   QFile::ReadOwner | QFile::WriteOwner)) {
        return false;
    }
    for (const QString& service : services) {
        if (!writeService(service)) {
            return false;
        }
    }
    return true;
}

// The stand-in leaves a mark and ends without taking the name, so the start fails.
bool ActivationRecordingBus::writeService(const QString& service)
{
    const QString program = m_folder.filePath(service + QStringLiteral(".sh"));
    const QString script = QStringLiteral("#!/bin/sh\ntouch '%1'\n").arg(markPath(service));
    const QString entry =
        QStringLiteral("[D-BUS Service]\nName=%1\nExec=%2\n").arg(service, program);
    return writeFile(program, script, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner) &&
           writeFile(m_folder.filePath(QStringLiteral("services/%1.service").arg(service)), entry,
                     QFile::ReadOwner | QFile::WriteOwner);
}

QString ActivationRecordingBus::markPath(const QString& service) const
{
    return m_folder.filePath(service + QStringLiteral(".started"));
}

}  // namespace vantrell::test
