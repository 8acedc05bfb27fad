#include "views/settings/SettingsFormParts.h"

#include "views/kit/CardFrame.h"
#include "views/kit/PlainText.h"
#include "views/kit/VantrellPalette.h"
#include "views/kit/ViewFonts.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

namespace vantrell::SettingsFormParts {

namespace {

const char* const tintProperty = "vantrellTint";

QColor colorOf(Tint tint, const QWidget* widget)
{
    switch (tint) {
        case Tint::secondary:
            return VantrellPalette::secondary(widget);
        case Tint::orange:
            return VantrellPalette::systemOrange(widget);
        case Tint::green:
            return VantrellPalette::systemGreen(widget);
        case Tint::blue:
            return VantrellPalette::systemBlue(widget);
        case Tint::primary:
            break;
    }
    return VantrellPalette::primary(widget);
}

void paint(QWidget* widget)
{
    const QVariant tint = widget->property(tintProperty);
    if (!tint.isValid()) {
        return;
    }
    QPalette palette = widget->palette();
    const QColor color = colorOf(static_cast<Tint>(tint.toInt()), widget->parentWidget());
    palette.setColor(QPalette::WindowText, color);
    palette.setColor(QPalette::Text, color);
    widget->setPalette(palette);
}

}  // namespace

QWidget* section(const QString& header, QLayout* content, const QString& objectName)
{
    auto* block = new QWidget;
    block->setObjectName(objectName);
    auto* column = new QVBoxLayout(block);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(6);
    QLabel* title = PlainText::label(header);
    title->setFont(ViewFonts::font(13, QFont::DemiBold));
    title->setContentsMargins(10, 0, 0, 0);
    auto* card = new CardFrame(10);
    content->setContentsMargins(12, 10, 12, 10);
    content->setSpacing(8);
    card->setLayout(content);
    column->addWidget(title);
    column->addWidget(card);
    return block;
}

QHBoxLayout* row(const QString& title, QWidget* control)
{
    auto* line = new QHBoxLayout;
    line->setContentsMargins(0, 0, 0, 0);
    line->addWidget(PlainText::label(title));
    line->addStretch(1);
    line->addWidget(control);
    return line;
}

QLabel* caption(const QString& text, const QString& objectName)
{
    QLabel* label = PlainText::label(text);
    label->setObjectName(objectName);
    label->setFont(ViewFonts::font(11));
    label->setWordWrap(true);
    setTint(label, Tint::secondary);
    return label;
}

void setTint(QWidget* widget, Tint tint)
{
    widget->setProperty(tintProperty, static_cast<int>(tint));
    paint(widget);
}

void applyTints(QWidget* root)
{
    for (QWidget* widget : root->findChildren<QWidget*>()) {
        paint(widget);
    }
}

}  // namespace vantrell::SettingsFormParts
