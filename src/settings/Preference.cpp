#include "settings/Preference.h"

#include <charconv>
#include <string>

namespace vantrell {

namespace {

bool isNumber(const QVariant& stored)
{
    switch (stored.typeId()) {
        case QMetaType::Int:
        case QMetaType::UInt:
        case QMetaType::Long:
        case QMetaType::ULong:
        case QMetaType::LongLong:
        case QMetaType::ULongLong:
        case QMetaType::Double:
        case QMetaType::Float:
            return true;
        default:
            return false;
    }
}

std::optional<double> numberFromText(const QString& text)
{
    const std::string bytes = text.trimmed().toStdString();
    double value = 0;
    const char* end = bytes.data() + bytes.size();
    const auto [stop, error] = std::from_chars(bytes.data(), end, value);
    if (error != std::errc() || stop != end || bytes.empty()) {
        return std::nullopt;
    }
    return value;
}

}  // namespace

bool storedBoolean(const QVariant& stored)
{
    if (stored.typeId() == QMetaType::Bool) {
        return stored.toBool();
    }
    if (isNumber(stored)) {
        return stored.toDouble() != 0;
    }
    if (stored.typeId() == QMetaType::QString) {
        const QString text = stored.toString().trimmed();
        if (text.compare(u"true", Qt::CaseInsensitive) == 0 ||
            text.compare(u"yes", Qt::CaseInsensitive) == 0) {
            return true;
        }
        return numberFromText(text).value_or(0) != 0;
    }
    return false;
}

double storedNumber(const QVariant& stored)
{
    return storedNumberIfAny(stored).value_or(0);
}

std::optional<double> storedNumberIfAny(const QVariant& stored)
{
    if (isNumber(stored) || stored.typeId() == QMetaType::Bool) {
        return stored.toDouble();
    }
    if (stored.typeId() == QMetaType::QString) {
        return numberFromText(stored.toString());
    }
    return std::nullopt;
}

}  // namespace vantrell
