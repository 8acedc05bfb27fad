#pragma once

#include "window/MainWindowPages.h"
#include "window/SceneObjects.h"

#include <functional>

class QWidget;

namespace vantrell {

// The content of each scene: the main window's pages, the popover under the tray item and the
// settings form (also the main window's settings section). A scene makes its content again
// whenever the appearance changes, so the factories are called more than once.
struct SceneContents {
    using PopoverFactory = std::function<QWidget*(const PopoverObjects& objects)>;
    using SettingsFormFactory = std::function<QWidget*(const SettingsObjects& objects)>;

    MainWindowPages pages;
    PopoverFactory popover;
    SettingsFormFactory settingsForm;

    // The program's contents.
    static SceneContents standard();

    // The program's popover content and settings form.
    static QWidget* standardPopover(const PopoverObjects& objects);
    static QWidget* standardSettingsForm(const SettingsObjects& objects);
};

}  // namespace vantrell
