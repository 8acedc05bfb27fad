#pragma once

#include "models/Exchange.h"

#include <QString>

#include <array>
#include <optional>

namespace vantrell {

// The sections of the main window's sidebar. The raw value, kept under "mainSection", is the
// case name.
enum class MainSection {
    overview,
    binance,
    okx,
    bybit,
    bitget,
    gateio,
    exchangeManagement,
    positions,
    assets,
    analytics,
    settings,
};

inline constexpr std::array allMainSections{
    MainSection::overview,
    MainSection::binance,
    MainSection::okx,
    MainSection::bybit,
    MainSection::bitget,
    MainSection::gateio,
    MainSection::exchangeManagement,
    MainSection::positions,
    MainSection::assets,
    MainSection::analytics,
    MainSection::settings,
};

QString rawValue(MainSection section);
// Exactly one of the eleven raw values (letter case counts); nothing for any other text.
std::optional<MainSection> mainSectionFromRaw(const QString& raw);
// The sidebar's label ("总览", "Binance", ...) and the name of its symbol.
QString sidebarLabel(MainSection section);
QString sidebarIcon(MainSection section);

// The exchange an exchange section shows, and the other way round.
std::optional<Exchange> exchangeOf(MainSection section);
MainSection sectionOf(Exchange exchange);

}  // namespace vantrell
