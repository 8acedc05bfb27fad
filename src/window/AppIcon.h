#pragma once

#include <QIcon>
#include <QImage>

namespace vantrell {

// The program's icon: the mark in white on a rounded square with a blue-to-teal gradient. The
// windows use it at run time; the build renders the same drawing into the PNG files that are
// installed for the desktop.
class AppIcon {
public:
    AppIcon() = delete;

    static QImage image(int pixelSize);
    // The icon at the usual sizes of window decorations and task bars.
    static QIcon icon();
};

}  // namespace vantrell
