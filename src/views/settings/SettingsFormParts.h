#pragma once

#include <QString>

class QHBoxLayout;
class QLabel;
class QLayout;
class QWidget;

namespace vantrell {

// The building blocks of the settings form: sections in the grouped style (a header over a
// card), rows, captions, and text tints that follow the window's light or dark look.
namespace SettingsFormParts {

enum class Tint { primary, secondary, orange, green, blue };

// A header text over a card holding `content`'s rows.
QWidget* section(const QString& header, QLayout* content, const QString& objectName);
// A row: `title` on the leading side, the control on the trailing side.
QHBoxLayout* row(const QString& title, QWidget* control);
// A wrapping plain-text caption in the secondary colour.
QLabel* caption(const QString& text, const QString& objectName = QString());

// Gives the label its tint now and after every change of the window's palette (see
// applyTints).
void setTint(QWidget* widget, Tint tint);
// Applies every tint under `root` again; the form calls it when its palette changes.
void applyTints(QWidget* root);

}  // namespace SettingsFormParts

}  // namespace vantrell
