#pragma once

#include <QString>

namespace vantrell {

// A text with a symbol and a colour role, as the pages show an exchange's refresh state.
struct StatusLabel {
    enum class Tone { secondary, orange, red, green };

    QString text;
    QString symbol;  // the symbol name the drawing elements know ("key", "tray", ...)
    Tone tone = Tone::secondary;

    friend bool operator==(const StatusLabel&, const StatusLabel&) = default;
};

}  // namespace vantrell
