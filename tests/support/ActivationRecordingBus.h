#pragma once

#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <optional>

namespace vantrell::test {

// A session bus daemon of the test's own on which the given service names are activatable: a
// message that asks the bus to start one runs a stand-in that only records the start and ends,
// so the name never appears. Stopped when the object goes.
//
//     ActivationRecordingBus bus({QStringLiteral("org.example.Service")});
//     const std::optional<QString> address = bus.waitForAddress();
//     QDBusConnection connection = QDBusConnection::connectToBus(*address, name);
//     ...
//     EXPECT_FALSE(bus.wasStarted(QStringLiteral("org.example.Service")));
class ActivationRecordingBus {
public:
    explicit ActivationRecordingBus(const QStringList& services);
    ~ActivationRecordingBus();
    ActivationRecordingBus(const ActivationRecordingBus&) = delete;
    ActivationRecordingBus& operator=(const ActivationRecordingBus&) = delete;

    // The bus's address once the daemon reported it; nothing without a dbus-daemon or when it
    // did not start in time.
    std::optional<QString> waitForAddress();
    bool wasStarted(const QString& service) const;

private:
    bool writeConfiguration(const QStringList& services);
    bool writeService(const QString& service);
    QString markPath(const QString& service) const;

    QTemporaryDir m_folder;
    QProcess m_daemon;
};

}  // namespace vantrell::test
