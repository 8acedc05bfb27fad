#include "window/PlaceholderPage.h"

#include "views/kit/ViewFonts.h"

#include <QLabel>
#include <QVBoxLayout>

namespace vantrell {

PlaceholderPage::PlaceholderPage(const QString& name, const QString& title, QWidget* parent)
    : QWidget(parent), m_title(title)
{
    setObjectName(QStringLiteral("placeholderPage.") + name);
    auto* heading = new QLabel(title);
    heading->setTextFormat(Qt::PlainText);
    heading->setFont(ViewFonts::font(20, QFont::DemiBold));
    heading->setAlignment(Qt::AlignCenter);
    auto* note = new QLabel(QStringLiteral("(placeholder: this page is not built in yet)"));
    note->setTextFormat(Qt::PlainText);
    note->setAlignment(Qt::AlignCenter);
    note->setEnabled(false);
    auto* layout = new QVBoxLayout(this);
    layout->addStretch();
    layout->addWidget(heading);
    layout->addWidget(note);
    layout->addStretch();
}

}  // namespace vantrell
