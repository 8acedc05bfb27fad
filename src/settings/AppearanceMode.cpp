#include "settings/AppearanceMode.h"

namespace vantrell {

QString toStored(AppearanceMode value)
{
    switch (value) {
        case AppearanceMode::system:
            return QStringLiteral("system");
        case AppearanceMode::light:
            return QStringLiteral("light");
        case AppearanceMode::dark:
            return QStringLiteral("dark");
    }
    Q_UNREACHABLE();
    return {};
}

template <>
std::optional<AppearanceMode> fromStored<AppearanceMode>(QStringView text)
{
    return findStored<AppearanceMode>(allAppearanceModes, text);
}

}  // namespace vantrell
