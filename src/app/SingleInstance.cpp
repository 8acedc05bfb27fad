#include "app/SingleInstance.h"

#include <QCryptographicHash>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QLockFile>
#include <QStandardPaths>
#include <QThread>

#include <unistd.h>

namespace vantrell {

namespace {

const QByteArray activateMessage = QByteArrayLiteral("activate\n");
constexpr int connectTimeoutMs = 1000;
// The primary may still be starting its server when a second start arrives.
constexpr int connectAttempts = 10;

}  // namespace

SingleInstance::SingleInstance(QString lockPath, QString serverName, QObject* parent)
    : QObject(parent), m_lockPath(std::move(lockPath)), m_serverName(std::move(serverName))
{
}

SingleInstance::~SingleInstance() = default;

std::unique_ptr<SingleInstance> SingleInstance::forDataFolder(const QString& dataFolder)
{
    return guarding(dataFolder + QStringLiteral("/vantrell.lock"), dataFolder);
}

// A lock in the shared temporary folder under one name for everyone would let another user's
// running copy, or a file planted there, stop this user's start.
std::unique_ptr<SingleInstance> SingleInstance::forUser(const QString& runtimeFolder)
{
    const QString lockPath =
        runtimeFolder.isEmpty()
            ? QDir::tempPath() + QStringLiteral("/vantrell-%1.lock").arg(::getuid())
            : runtimeFolder + QStringLiteral("/vantrell.lock");
    return guarding(lockPath, lockPath);
}

// Qt gives the folder only when it belongs to the user and is owner-only.
QString SingleInstance::userRuntimeFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
}

// The socket sits in the runtime folder too, named after `key` and the user id.
std::unique_ptr<SingleInstance> SingleInstance::guarding(const QString& lockPath,
                                                         const QString& key)
{
    const QByteArray digest =
        QCryptographicHash::hash(key.toUtf8(), QCryptographicHash::Sha256).toHex().left(16);
    QString runtime = userRuntimeFolder();
    if (runtime.isEmpty()) {
        runtime = QDir::tempPath();
    }
    const QString socketName = QStringLiteral("vantrell-%1-%2.socket")
                                   .arg(QString::number(::getuid()), QString::fromLatin1(digest));
    return std::make_unique<SingleInstance>(lockPath, runtime + u'/' + socketName);
}

SingleInstance::Role SingleInstance::claim()
{
    m_lock = std::make_unique<QLockFile>(m_lockPath);
    // A lock left by a process that no longer runs is taken over.
    m_lock->setStaleLockTime(0);
    if (m_lock->tryLock(0)) {
        QFile::setPermissions(m_lockPath, QFile::ReadOwner | QFile::WriteOwner);
        listen();
        return Role::primary;
    }
    if (m_lock->error() != QLockFile::LockFailedError || heldByAnotherUser()) {
        m_lock.reset();
        return Role::unguarded;
    }
    askPrimaryToActivate();
    return Role::secondary;
}

// Another user's file at the lock's name is never this user's running copy.
bool SingleInstance::heldByAnotherUser() const
{
    const QFileInfo lock(m_lockPath);
    return lock.exists() && lock.ownerId() != ::getuid();
}

void SingleInstance::listen()
{
    m_server = new QLocalServer(this);
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    // The lock is ours, so a socket file left at the name belongs to a process that is gone.
    QLocalServer::removeServer(m_serverName);
    if (!m_server->listen(m_serverName)) {
        return;
    }
    connect(m_server, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket* socket = m_server->nextPendingConnection()) {
            connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
            connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
                if (socket->readAll().contains(activateMessage)) {
                    Q_EMIT activationRequested();
                }
                socket->disconnectFromServer();
            });
        }
    });
}

// Blocking on purpose: this runs before the event loop, in a process about to end.
void SingleInstance::askPrimaryToActivate() const
{
    QElapsedTimer elapsed;
    elapsed.start();
    for (int attempt = 0; attempt < connectAttempts; ++attempt) {
        QLocalSocket socket;
        socket.connectToServer(m_serverName);
        if (socket.waitForConnected(connectTimeoutMs)) {
            socket.write(activateMessage);
            socket.waitForBytesWritten(connectTimeoutMs);
            socket.disconnectFromServer();
            return;
        }
        if (elapsed.elapsed() > connectTimeoutMs) {
            return;
        }
        QThread::msleep(50);
    }
}

}  // namespace vantrell
