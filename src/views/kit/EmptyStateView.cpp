#include "views/kit/EmptyStateView.h"

#include "views/kit/PlainText.h"
#include "views/kit/SymbolIcon.h"
#include "views/kit/VantrellPalette.h"
#include "views/kit/ViewFonts.h"

#include <QEvent>
#include <QLabel>
#include <QVBoxLayout>

namespace vantrell {

namespace {
constexpr int iconSize = 40;
}

EmptyStateView::EmptyStateView(const QString& symbol, const QString& title,
                               const QString& description, QWidget* parent)
    : QWidget(parent),
      m_icon(new QLabel(this)),
      m_title(PlainText::label(QString(), this)),
      m_description(PlainText::label(QString(), this))
{
    setObjectName(QStringLiteral("emptyState"));
    m_icon->setObjectName(QStringLiteral("emptyStateIcon"));
    m_title->setObjectName(QStringLiteral("emptyStateTitle"));
    m_description->setObjectName(QStringLiteral("emptyStateDescription"));
    m_title->setFont(ViewFonts::font(17, QFont::DemiBold));
    m_description->setWordWrap(true);
    auto* layout = new QVBoxLayout(this);
    layout->setSpacing(8);
    layout->addStretch(1);
    for (QLabel* label : {m_icon, m_title, m_description}) {
        label->setAlignment(Qt::AlignCenter);
        layout->addWidget(label);
    }
    layout->addStretch(1);
    setContent(symbol, title, description);
}

QString EmptyStateView::title() const
{
    return m_title->text();
}

QString EmptyStateView::description() const
{
    return m_description->text();
}

void EmptyStateView::setContent(const QString& symbol, const QString& title,
                                const QString& description)
{
    m_symbol = symbol;
    m_title->setText(title);
    m_description->setText(description);
    m_description->setVisible(!description.isEmpty());
    updateIcon();
}

void EmptyStateView::updateIcon()
{
    m_icon->setPixmap(SymbolIcon::pixmap(m_symbol, iconSize, VantrellPalette::secondary(this),
                                         devicePixelRatioF()));
    QPalette palette = m_description->palette();
    palette.setColor(QPalette::WindowText, VantrellPalette::secondary(this));
    m_description->setPalette(palette);
}

void EmptyStateView::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::PaletteChange) {
        updateIcon();
    }
    QWidget::changeEvent(event);
}

}  // namespace vantrell
