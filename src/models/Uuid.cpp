#include "models/Uuid.h"

namespace vantrell {

namespace {

bool isHexDigit(QChar c)
{
    return (c >= u'0' && c <= u'9') || (c >= u'a' && c <= u'f') || (c >= u'A' && c <= u'F');
}

// 8-4-4-4-12 hexadecimal groups, nothing before or after.
bool hasUuidLayout(const QString& text)
{
    constexpr qsizetype length = 36;
    if (text.size() != length) {
        return false;
    }
    for (qsizetype i = 0; i < length; ++i) {
        const bool dash = i == 8 || i == 13 || i == 18 || i == 23;
        if (dash ? text[i] != u'-' : !isHexDigit(text[i])) {
            return false;
        }
    }
    return true;
}

}  // namespace

Uuid Uuid::random()
{
    return Uuid(QUuid::createUuid());
}

std::optional<Uuid> Uuid::fromString(const QString& text)
{
    // QUuid alone cannot tell garbage from the nil UUID, and it accepts braces.
    if (!hasUuidLayout(text)) {
        return std::nullopt;
    }
    return Uuid(QUuid::fromString(text));
}

QString Uuid::toString() const
{
    return m_value.toString(QUuid::WithoutBraces).toUpper();
}

}  // namespace vantrell
