#pragma once

#include <QString>

class QLabel;
class QWidget;

namespace vantrell {

// Text from exchanges, accounts, feeds and errors comes from the network and must never be
// read as markup. Labels that show such text are made plain-text labels; tooltips, which Qt
// reads as rich text whenever it looks like HTML, are escaped.
class PlainText {
public:
    PlainText() = delete;

    // A label that never interprets its text.
    static QLabel* label(const QString& text = QString(), QWidget* parent = nullptr);
    // A tooltip that shows `text` as it is, line breaks kept.
    static QString toolTip(const QString& text);
};

}  // namespace vantrell
