#pragma once

#include "settings/AppearanceMode.h"

#include <QPalette>

#include <optional>

class QWidget;

namespace vantrell {

// Forces a window's light or dark look, or lets it follow the system again. Qt 6.4 has no
// colour-scheme switch, so the program runs the Fusion style with two palettes of its own;
// "system" is the palette the application started with.
//
//     WindowAppearanceBridge::installStyle();                  // once, after QApplication
//     WindowAppearanceBridge::apply(window, settings.appearance());
class WindowAppearanceBridge {
public:
    WindowAppearanceBridge() = delete;

    // Remembers the start-up palette as "system", then switches the application to Fusion
    // with that palette. Calling it again changes nothing.
    static void installStyle();

    static QPalette lightPalette();
    static QPalette darkPalette();
    // The application palette as it was before installStyle() (or now, if it never ran).
    static QPalette systemPalette();
    static QPalette paletteFor(AppearanceMode mode);

    // Gives the top-level window (and so all its children) the palette of `mode`. The mode is
    // remembered on the window: applying the one it already has touches nothing and returns
    // false. A null window is ignored.
    static bool apply(QWidget* window, AppearanceMode mode);
    // The mode last applied to the window, if any.
    static std::optional<AppearanceMode> appliedMode(const QWidget* window);
};

}  // namespace vantrell
