#pragma once

#include "platform/DefaultsStore.h"

#include <QSettings>

#include <memory>
#include <utility>
#include <vector>

namespace vantrell {

// The user's defaults kept in an INI file through QSettings.
//
// The file holds API secrets, so it is created and kept owner-only: before every write the
// folder is made 0700 and the file exists as 0600 (QSettings replaces the file atomically and
// the replacement inherits the existing file's mode); after the write both modes are applied
// again in case someone else loosened them.
//
// Stored types: QString and QByteArray values read back unchanged (QSettings tags byte arrays
// with "@ByteArray(...)"), as do QVariantMap/QVariantList. Numbers and Booleans are written as
// plain text, so once the file is read again (next start, or after another process changed
// it) they come back as QString: readers convert with toDouble()/toBool() and check the result.
class SettingsDefaultsStore final : public DefaultsStore {
public:
    explicit SettingsDefaultsStore(const QString& filePath);

    // $XDG_CONFIG_HOME/Vantrell/Vantrell.conf (by default ~/.config/Vantrell/Vantrell.conf).
    static QString standardPath();

    QVariant value(const QString& key) const override;
    bool contains(const QString& key) const override;
    // A change is one sync, and QSettings replaces the whole file at once, so a refused change
    // leaves the file as it was; the keys it wrote then get their earlier values back in
    // memory too. False when QSettings reports an error or the file could not be made
    // owner-only.
    bool apply(const DefaultsChange& change) override;

private:
    using EarlierValues = std::vector<std::pair<QString, QVariant>>;

    EarlierValues earlierValues(const DefaultsChange& change) const;
    void putBack(const EarlierValues& earlier);
    bool prepareFile() const;
    QSettings& settingsForWrite();
    bool finishWrite();

    QString m_filePath;
    std::unique_ptr<QSettings> m_settings;
};

// The one process-wide store over the standard path, made on first use. Only the program
// itself uses it; tests build their own stores.
DefaultsStore& standardDefaults();

}  // namespace vantrell
