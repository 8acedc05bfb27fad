#pragma once

#include "models/Decimal.h"
#include "models/PortfolioSnapshot.h"
#include "settings/AppSettings.h"
#include "settings/MenuBarDisplayMode.h"

#include <QString>

#include <optional>

namespace vantrell {

// The text beside the tray icon for `mode`, or nothing for the icon alone. Money is converted
// into the display currency and shown whole; "—" stands in where there is no value to show.
// `displayedChangePercent` is the change of the user's chosen period, absent whenever the
// snapshot is not live.
std::optional<QString> menuBarTitle(const PortfolioSnapshot& snapshot,
                                    std::optional<Decimal> displayedChangePercent,
                                    MenuBarDisplayMode mode, const AppSettings& settings);

}  // namespace vantrell
