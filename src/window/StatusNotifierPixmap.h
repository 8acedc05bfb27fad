#pragma once

#include <QByteArray>
#include <QList>
#include <QMetaType>

class QDBusArgument;
class QImage;

namespace vantrell {

// One icon image as tray hosts read it over D-Bus, (iiay): width, height and the pixels as
// ARGB32 in network byte order, row by row.
struct StatusNotifierPixmap {
    int width = 0;
    int height = 0;
    QByteArray bytes;

    static StatusNotifierPixmap fromImage(const QImage& image);
    bool operator==(const StatusNotifierPixmap&) const = default;
};

using StatusNotifierPixmaps = QList<StatusNotifierPixmap>;

QDBusArgument& operator<<(QDBusArgument& argument, const StatusNotifierPixmap& pixmap);
const QDBusArgument& operator>>(const QDBusArgument& argument, StatusNotifierPixmap& pixmap);

}  // namespace vantrell

Q_DECLARE_METATYPE(vantrell::StatusNotifierPixmap)
