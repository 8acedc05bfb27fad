#pragma once

class QWidget;

namespace vantrell {

// Asks an X11 window manager to show a top-level window on every desktop: _NET_WM_DESKTOP
// 0xFFFFFFFF and the sticky state, set on the window before it is mapped (a manager reads both
// when it maps the window and may drop them when the window is withdrawn, so this is asked
// again before every show). A manager without these hints ignores them; without X11 (Wayland,
// offscreen) there is no one to ask.
class FloatingPanelDesktops {
public:
    FloatingPanelDesktops() = delete;

    // False where the window is not on an X11 display.
    static bool requestAllDesktops(QWidget& window);
};

}  // namespace vantrell
