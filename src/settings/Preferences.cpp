#include "settings/Preferences.h"

#include <QDateTime>

namespace vantrell {

std::optional<std::optional<Date>> PreferenceCoding<std::optional<Date>>::decode(
    const QVariant& stored)
{
    if (stored.typeId() != QMetaType::QDateTime) {
        return std::nullopt;
    }
    const QDateTime dateTime = stored.toDateTime();
    if (!dateTime.isValid()) {
        return std::nullopt;
    }
    return Date::fromDateTime(dateTime);
}

QVariant PreferenceCoding<std::optional<Date>>::encode(const std::optional<Date>& date)
{
    if (!date) {
        return {};
    }
    return date->toDateTime();
}

}  // namespace vantrell
