#include "views/kit/VantrellPalette.h"

#include <QApplication>
#include <QWidget>

namespace vantrell {

QColor VantrellPalette::gain()
{
    return QColor::fromRgbF(0.94f, 0.25f, 0.29f);
}

QColor VantrellPalette::loss()
{
    return QColor::fromRgbF(0.10f, 0.68f, 0.39f);
}

bool VantrellPalette::isDark(const QPalette& palette)
{
    return palette.color(QPalette::Window).lightness() < 128;
}

bool VantrellPalette::isDark(const QWidget* widget)
{
    return isDark(widget != nullptr ? widget->palette() : QApplication::palette());
}

QColor VantrellPalette::pick(const QWidget* widget, QColor light, QColor dark)
{
    return isDark(widget) ? dark : light;
}

QColor VantrellPalette::primary(const QWidget* widget)
{
    const QPalette palette = widget != nullptr ? widget->palette() : QApplication::palette();
    return palette.color(QPalette::WindowText);
}

QColor VantrellPalette::secondary(const QWidget* widget)
{
    return pick(widget, QColor(0, 0, 0, 128), QColor(255, 255, 255, 140));
}

QColor VantrellPalette::tertiary(const QWidget* widget)
{
    return pick(widget, QColor(0, 0, 0, 66), QColor(255, 255, 255, 64));
}

QColor VantrellPalette::divider(const QWidget* widget)
{
    return pick(widget, QColor(0, 0, 0, 26), QColor(255, 255, 255, 31));
}

QColor VantrellPalette::card(const QWidget* widget)
{
    return pick(widget, QColor(0xFF, 0xFF, 0xFF), QColor(0x2B, 0x2B, 0x2E));
}

QColor VantrellPalette::panel(const QWidget* widget)
{
    return pick(widget, QColor(0xF4, 0xF4, 0xF6), QColor(0x1C, 0x1C, 0x1E));
}

QColor VantrellPalette::sidebar(const QWidget* widget)
{
    return pick(widget, QColor(0xEB, 0xEB, 0xEE), QColor(0x23, 0x23, 0x26));
}

QColor VantrellPalette::systemGreen(const QWidget* widget)
{
    return pick(widget, QColor(52, 199, 89), QColor(48, 209, 88));
}

QColor VantrellPalette::systemOrange(const QWidget* widget)
{
    return pick(widget, QColor(255, 149, 0), QColor(255, 159, 10));
}

QColor VantrellPalette::systemRed(const QWidget* widget)
{
    return pick(widget, QColor(255, 59, 48), QColor(255, 69, 58));
}

QColor VantrellPalette::systemBlue(const QWidget* widget)
{
    return pick(widget, QColor(0, 122, 255), QColor(10, 132, 255));
}

}  // namespace vantrell
