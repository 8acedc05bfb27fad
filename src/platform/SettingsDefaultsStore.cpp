#include "platform/SettingsDefaultsStore.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include <algorithm>

namespace vantrell {

namespace {

constexpr QFile::Permissions ownerOnlyFolder =
    QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner;
constexpr QFile::Permissions ownerOnlyFile = QFile::ReadOwner | QFile::WriteOwner;

}  // namespace

SettingsDefaultsStore::SettingsDefaultsStore(const QString& filePath)
    : m_filePath(filePath), m_settings(std::make_unique<QSettings>(filePath, QSettings::IniFormat))
{
}

QString SettingsDefaultsStore::standardPath()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/Vantrell/Vantrell.conf");
}

QVariant SettingsDefaultsStore::value(const QString& key) const
{
    return m_settings->value(key);
}

bool SettingsDefaultsStore::contains(const QString& key) const
{
    return m_settings->contains(key);
}

bool SettingsDefaultsStore::apply(const DefaultsChange& change)
{
    QSettings& settings = settingsForWrite();
    const EarlierValues earlier = earlierValues(change);
    for (const DefaultsChange::Write& write : change.writes()) {
        if (write.value) {
            settings.setValue(write.key, *write.value);
        } else {
            settings.remove(write.key);
        }
    }
    if (prepareFile() && finishWrite()) {
        return true;
    }
    putBack(earlier);
    return false;
}

// Each key once, with what it held before the change (invalid when it was absent).
SettingsDefaultsStore::EarlierValues SettingsDefaultsStore::earlierValues(
    const DefaultsChange& change) const
{
    EarlierValues earlier;
    for (const DefaultsChange::Write& write : change.writes()) {
        const bool seen = std::any_of(earlier.begin(), earlier.end(),
                                      [&](const auto& entry) { return entry.first == write.key; });
        if (!seen) {
            earlier.emplace_back(write.key, m_settings->value(write.key));
        }
    }
    return earlier;
}

// A refused change stays pending in QSettings, which would write it out with the next change
// that succeeds; giving the keys their earlier values cancels it without rereading the file.
void SettingsDefaultsStore::putBack(const EarlierValues& earlier)
{
    for (const auto& [key, value] : earlier) {
        if (value.isValid()) {
            m_settings->setValue(key, value);
        } else {
            m_settings->remove(key);
        }
    }
}

// Makes the folder 0700 and the file an existing 0600 file before QSettings writes, so the
// secrets are never readable by others, not even for the moment between write and chmod.
bool SettingsDefaultsStore::prepareFile() const
{
    const QString folder = QFileInfo(m_filePath).absolutePath();
    if (!QDir().mkpath(folder) || !QFile::setPermissions(folder, ownerOnlyFolder)) {
        return false;
    }
    QFile file(m_filePath);
    if (!file.exists()) {
        // Created 0600 from the start; if another process wins the race, its file is fixed below.
        (void)file.open(QIODevice::WriteOnly | QIODevice::NewOnly, ownerOnlyFile);
    }
    return QFile::setPermissions(m_filePath, ownerOnlyFile);
}

// QSettings never clears an error status, so after one failed save every later save would
// look failed too. A fresh instance (which reloads the file) starts with a clean status.
QSettings& SettingsDefaultsStore::settingsForWrite()
{
    if (m_settings->status() != QSettings::NoError) {
        m_settings.reset();
        m_settings = std::make_unique<QSettings>(m_filePath, QSettings::IniFormat);
    }
    return *m_settings;
}

bool SettingsDefaultsStore::finishWrite()
{
    m_settings->sync();
    const bool saved = m_settings->status() == QSettings::NoError;
    const QString folder = QFileInfo(m_filePath).absolutePath();
    const bool ownerOnly = QFile::setPermissions(folder, ownerOnlyFolder) &&
                           QFile::setPermissions(m_filePath, ownerOnlyFile);
    return saved && ownerOnly;
}

DefaultsStore& standardDefaults()
{
    static SettingsDefaultsStore store(SettingsDefaultsStore::standardPath());
    return store;
}

}  // namespace vantrell
