#include "views/kit/WindowAppearanceBridge.h"

#include <QApplication>
#include <QStyle>
#include <QStyleFactory>
#include <QVariant>
#include <QWidget>

#include <optional>

namespace vantrell {

namespace {

constexpr char appliedProperty[] = "vantrellAppearance";

std::optional<QPalette>& capturedSystemPalette()
{
    static std::optional<QPalette> captured;
    return captured;
}

struct PaletteColours {
    QColor window, text, base, alternateBase, button, highlight, highlightedText, disabledText;
    QColor placeholder, toolTipBase, light, mid, dark, link;
};

QPalette makePalette(const PaletteColours& c)
{
    QPalette p;
    p.setColor(QPalette::Window, c.window);
    p.setColor(QPalette::WindowText, c.text);
    p.setColor(QPalette::Base, c.base);
    p.setColor(QPalette::AlternateBase, c.alternateBase);
    p.setColor(QPalette::Text, c.text);
    p.setColor(QPalette::Button, c.button);
    p.setColor(QPalette::ButtonText, c.text);
    p.setColor(QPalette::BrightText, Qt::white);
    p.setColor(QPalette::Highlight, c.highlight);
    p.setColor(QPalette::HighlightedText, c.highlightedText);
    p.setColor(QPalette::PlaceholderText, c.placeholder);
    p.setColor(QPalette::ToolTipBase, c.toolTipBase);
    p.setColor(QPalette::ToolTipText, c.text);
    p.setColor(QPalette::Light, c.light);
    p.setColor(QPalette::Midlight, c.light);
    p.setColor(QPalette::Mid, c.mid);
    p.setColor(QPalette::Dark, c.dark);
    p.setColor(QPalette::Shadow, Qt::black);
    p.setColor(QPalette::Link, c.link);
    p.setColor(QPalette::LinkVisited, c.link);
    for (QPalette::ColorRole role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText}) {
        p.setColor(QPalette::Disabled, role, c.disabledText);
    }
    return p;
}

}  // namespace

void WindowAppearanceBridge::installStyle()
{
    if (capturedSystemPalette()) {
        return;
    }
    capturedSystemPalette() = QApplication::palette();
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    QApplication::setPalette(*capturedSystemPalette());
}

QPalette WindowAppearanceBridge::lightPalette()
{
    static const QPalette palette = makePalette({
        .window = QColor(0xF4, 0xF4, 0xF6),
        .text = QColor(0x1D, 0x1D, 0x1F),
        .base = QColor(0xFF, 0xFF, 0xFF),
        .alternateBase = QColor(0xF2, 0xF2, 0xF4),
        .button = QColor(0xFB, 0xFB, 0xFC),
        .highlight = QColor(0, 122, 255),
        .highlightedText = Qt::white,
        .disabledText = QColor(0, 0, 0, 66),
        .placeholder = QColor(0, 0, 0, 90),
        .toolTipBase = QColor(0xFF, 0xFF, 0xFF),
        .light = Qt::white,
        .mid = QColor(0xC7, 0xC7, 0xCC),
        .dark = QColor(0x8E, 0x8E, 0x93),
        .link = QColor(0, 122, 255),
    });
    return palette;
}

QPalette WindowAppearanceBridge::darkPalette()
{
    static const QPalette palette = makePalette({
        .window = QColor(0x1C, 0x1C, 0x1E),
        .text = QColor(0xF2, 0xF2, 0xF7),
        .base = QColor(0x2B, 0x2B, 0x2E),
        .alternateBase = QColor(0x32, 0x32, 0x35),
        .button = QColor(0x3A, 0x3A, 0x3C),
        .highlight = QColor(10, 132, 255),
        .highlightedText = Qt::white,
        .disabledText = QColor(255, 255, 255, 64),
        .placeholder = QColor(255, 255, 255, 90),
        .toolTipBase = QColor(0x2B, 0x2B, 0x2E),
        .light = QColor(0x48, 0x48, 0x4A),
        .mid = QColor(0x3A, 0x3A, 0x3C),
        .dark = QColor(0x0F, 0x0F, 0x10),
        .link = QColor(10, 132, 255),
    });
    return palette;
}

QPalette WindowAppearanceBridge::systemPalette()
{
    return capturedSystemPalette().value_or(QApplication::palette());
}

QPalette WindowAppearanceBridge::paletteFor(AppearanceMode mode)
{
    switch (mode) {
        case AppearanceMode::light:
            return lightPalette();
        case AppearanceMode::dark:
            return darkPalette();
        case AppearanceMode::system:
            break;
    }
    return systemPalette();
}

bool WindowAppearanceBridge::apply(QWidget* window, AppearanceMode mode)
{
    if (window == nullptr || appliedMode(window) == mode) {
        return false;
    }
    window->setProperty(appliedProperty, static_cast<int>(mode));
    window->setPalette(paletteFor(mode));
    return true;
}

std::optional<AppearanceMode> WindowAppearanceBridge::appliedMode(const QWidget* window)
{
    const QVariant stored = window != nullptr ? window->property(appliedProperty) : QVariant();
    if (!stored.isValid()) {
        return std::nullopt;
    }
    return static_cast<AppearanceMode>(stored.toInt());
}

}  // namespace vantrell
