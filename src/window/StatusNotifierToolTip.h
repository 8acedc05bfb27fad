#pragma once

#include "window/StatusNotifierPixmap.h"

#include <QMetaType>
#include <QString>

class QDBusArgument;

namespace vantrell {

// The tooltip of a tray item as hosts read it over D-Bus, (sa(iiay)ss): an icon name, icon
// images, a title and a longer description.
struct StatusNotifierToolTip {
    QString iconName;
    StatusNotifierPixmaps pixmaps;
    QString title;
    QString description;

    bool operator==(const StatusNotifierToolTip&) const = default;
};

QDBusArgument& operator<<(QDBusArgument& argument, const StatusNotifierToolTip& toolTip);
const QDBusArgument& operator>>(const QDBusArgument& argument, StatusNotifierToolTip& toolTip);

}  // namespace vantrell

Q_DECLARE_METATYPE(vantrell::StatusNotifierToolTip)
