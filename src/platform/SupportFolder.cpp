#include "platform/SupportFolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QStringList>

#include <utility>

namespace vantrell {

namespace {

constexpr QFile::Permissions ownerOnlyFolder =
    QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner;

// The missing folders on the way to `folder`, outermost first, and the deepest one that exists.
QStringList missingFolders(const QString& folder, QString& existing)
{
    QStringList missing;
    QString current = QDir::cleanPath(QDir(folder).absolutePath());
    while (!QFileInfo::exists(current)) {
        missing.prepend(current);
        const QString parent = QFileInfo(current).path();
        if (parent == current) {
            break;
        }
        current = parent;
    }
    existing = current;
    return missing;
}

}  // namespace

SupportFolder::SupportFolder(QString path) : m_path(std::move(path)) {}

SupportFolder SupportFolder::standard()
{
    // GenericDataLocation follows $XDG_DATA_HOME and falls back to ~/.local/share; asking for
    // the generic folder keeps the last component exactly "Vantrell" whatever the application's
    // organisation and name are.
    const QString base = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    if (base.isEmpty()) {
        return {};
    }
    return SupportFolder(base + u'/' + folderName.toString());
}

QString SupportFolder::filePath(const QString& fileName) const
{
    return isAvailable() ? m_path + u'/' + fileName : QString();
}

bool SupportFolder::createPath(const QString& folder)
{
    QString existing;
    const QStringList missing = missingFolders(folder, existing);
    if (!QFileInfo(existing).isDir()) {
        return false;
    }
    for (const QString& path : missing) {
        // mkdir's mode is masked by the umask; the explicit chmod makes it exactly 0700.
        const bool made = QDir().mkdir(path, ownerOnlyFolder);
        if (made && !QFile::setPermissions(path, ownerOnlyFolder)) {
            return false;
        }
        if (!made && !QFileInfo(path).isDir()) {
            return false;  // not made, and nobody else made it in the meantime either
        }
    }
    return true;
}

}  // namespace vantrell
