#pragma once

#include <QObject>
#include <QString>

#include <memory>

class QLocalServer;
class QLockFile;

namespace vantrell {

// Keeps one running program per data folder, so two processes never write the same history
// files. The first start holds a lock file in the data folder and listens on a local socket;
// a later start finds the lock taken, asks the running program through the socket to bring its
// main window to the front, and ends.
class SingleInstance : public QObject {
    Q_OBJECT

public:
    enum class Role {
        primary,    // this process holds the lock and listens
        secondary,  // another process holds it and was asked to come to the front
        unguarded,  // no lock could be made (no writable folder): run without the guard
    };

    // `lockPath`: the lock file; `serverName`: the local socket's full path or name.
    SingleInstance(QString lockPath, QString serverName, QObject* parent = nullptr);
    ~SingleInstance() override;

    // For the program: the lock in the data folder and a socket in the user's runtime folder,
    // named after the data folder.
    static std::unique_ptr<SingleInstance> forDataFolder(const QString& dataFolder);
    // For a program without a data folder: one guard per user, its lock in `runtimeFolder`
    // (the user's own), or without one in the temporary folder under a name that holds the
    // user id.
    static std::unique_ptr<SingleInstance> forUser(
        const QString& runtimeFolder = userRuntimeFolder());
    // The user's runtime folder, or empty when there is none that only the user can write.
    static QString userRuntimeFolder();

    Role claim();

Q_SIGNALS:
    // A later start asked for the main window.
    void activationRequested();

private:
    static std::unique_ptr<SingleInstance> guarding(const QString& lockPath, const QString& key);
    bool heldByAnotherUser() const;
    void listen();
    void askPrimaryToActivate() const;

    QString m_lockPath;
    QString m_serverName;
    std::unique_ptr<QLockFile> m_lock;
    QLocalServer* m_server = nullptr;
};

}  // namespace vantrell
