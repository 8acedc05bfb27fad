#include "settings/MenuBarDisplayMode.h"

namespace vantrell {

QString toStored(MenuBarDisplayMode value)
{
    switch (value) {
        case MenuBarDisplayMode::total:
            return QStringLiteral("total");
        case MenuBarDisplayMode::binance:
            return QStringLiteral("binance");
        case MenuBarDisplayMode::okx:
            return QStringLiteral("okx");
        case MenuBarDisplayMode::bybit:
            return QStringLiteral("bybit");
        case MenuBarDisplayMode::bitget:
            return QStringLiteral("bitget");
        case MenuBarDisplayMode::gateio:
            return QStringLiteral("gateio");
        case MenuBarDisplayMode::totalWithChange:
            return QStringLiteral("totalWithChange");
        case MenuBarDisplayMode::iconOnly:
            return QStringLiteral("iconOnly");
    }
    Q_UNREACHABLE();
    return {};
}

template <>
std::optional<MenuBarDisplayMode> fromStored<MenuBarDisplayMode>(QStringView text)
{
    return findStored<MenuBarDisplayMode>(allMenuBarDisplayModes, text);
}

}  // namespace vantrell
