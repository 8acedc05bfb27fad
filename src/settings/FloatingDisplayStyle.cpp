#include "settings/FloatingDisplayStyle.h"

namespace vantrell {

QString toStored(FloatingDisplayStyle value)
{
    switch (value) {
        case FloatingDisplayStyle::full:
            return QStringLiteral("full");
        case FloatingDisplayStyle::compact:
            return QStringLiteral("compact");
        case FloatingDisplayStyle::transparent:
            return QStringLiteral("transparent");
    }
    Q_UNREACHABLE();
    return {};
}

template <>
std::optional<FloatingDisplayStyle> fromStored<FloatingDisplayStyle>(QStringView text)
{
    return findStored<FloatingDisplayStyle>(allFloatingDisplayStyles, text);
}

}  // namespace vantrell
