#pragma once

#include <QString>
#include <QStringView>

namespace vantrell {

// The folder that holds the program's data files (the snapshot cache and the value histories).
// By default it is $XDG_DATA_HOME/Vantrell, that is ~/.local/share/Vantrell; tests hand in a
// temporary folder instead. A folder without a path means "no data folder": the program then
// runs without files.
class SupportFolder {
public:
    static constexpr QStringView folderName = u"Vantrell";

    SupportFolder() = default;  // no data folder
    explicit SupportFolder(QString path);

    // The user's data folder plus "Vantrell"; no data folder when the system names none.
    static SupportFolder standard();

    bool isAvailable() const { return !m_path.isEmpty(); }
    const QString& path() const { return m_path; }
    // `fileName` inside the folder; empty when there is no data folder.
    QString filePath(const QString& fileName) const;

    // Makes the folder with every missing parent, owner-only (0700), when it does not exist.
    bool create() const { return isAvailable() && createPath(m_path); }

    // Makes `folder` and every missing parent with mode 0700, whatever the umask. Folders that
    // already exist are left as they are. False when a component is not a folder or cannot be
    // made.
    static bool createPath(const QString& folder);

private:
    QString m_path;
};

}  // namespace vantrell
