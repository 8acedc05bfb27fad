#pragma once

#include <QString>
#include <QVariant>

namespace vantrell {

// The user's defaults store: every preference, the credentials and the list of additional
// accounts live here under their keys. One instance is shared by the whole program; tests use
// an in-memory one.
//
// Values come back as they were stored where the backend keeps types (QString, QByteArray,
// bool, double, qlonglong, QVariantMap/List); a file-backed store may hand numbers and Booleans
// back as text, so readers convert with QVariant's toDouble()/toString() and check the result.
class DefaultsStore {
public:
    virtual ~DefaultsStore() = default;

    // The stored value, or an invalid QVariant when the key is absent.
    virtual QVariant value(const QString& key) const = 0;
    virtual bool contains(const QString& key) const = 0;

    // Each write is made durable before returning; false when it could not be saved.
    virtual bool setValue(const QString& key, const QVariant& value) = 0;
    virtual bool remove(const QString& key) = 0;
};

}  // namespace vantrell
