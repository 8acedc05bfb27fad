#pragma once

#include "settings/PositionSortMode.h"

#include <QString>

namespace vantrell {

// The texts of the position sort menus (main window and popover).
class PositionSortTexts {
public:
    // The menu item: "默认顺序", "价值：从高到低", ...
    static QString menuText(PositionSortMode mode);
    // The menu's own label for the current mode: "排序", "价值 ↓", ...
    static QString shortText(PositionSortMode mode);
};

}  // namespace vantrell
