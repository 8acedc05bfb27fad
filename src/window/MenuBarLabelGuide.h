#pragma once

#include "settings/MenuBarDisplayMode.h"

#include <QString>

#include <optional>

namespace vantrell {

// The text a tray host measures to size the label, so the item keeps its width while the
// digits change: the widest title the display mode can show with amounts of today's length.
class MenuBarLabelGuide {
public:
    MenuBarLabelGuide() = delete;

    // Every digit becomes '8', the widest digit of most fonts.
    static QString masked(const QString& text);
    // The guide for `title` in `mode`; empty without a title. `total` is the total's own text
    // (an amount or "—"): the total with its change may gain or lose its change at any
    // refresh, so its guide always holds a signed change with at least two integer digits.
    static QString guide(MenuBarDisplayMode mode, const std::optional<QString>& title,
                         const QString& total);

private:
    static QString changeGuide(const QString& change);
};

}  // namespace vantrell
