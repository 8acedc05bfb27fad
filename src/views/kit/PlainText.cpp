#include "views/kit/PlainText.h"

#include <QLabel>

namespace vantrell {

QLabel* PlainText::label(const QString& text, QWidget* parent)
{
    auto* label = new QLabel(parent);
    label->setTextFormat(Qt::PlainText);
    label->setText(text);
    return label;
}

QString PlainText::toolTip(const QString& text)
{
    if (text.isEmpty()) {
        return QString();
    }
    return QStringLiteral("<p style='white-space:pre'>") + text.toHtmlEscaped() +
           QStringLiteral("</p>");
}

}  // namespace vantrell
