#include "views/portfolio/StatusLabelView.h"

#include "views/kit/FitLabel.h"
#include "views/kit/SymbolIcon.h"
#include "views/portfolio/PageLabels.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>

namespace vantrell {

StatusLabelView::StatusLabelView(const StatusLabel& status, const QFont& font, QWidget* parent)
    : QWidget(parent),
      m_status(status),
      m_icon(new QLabel(this)),
      m_text(PageLabels::make(status.text, font, PageLabels::tone(status.tone)))
{
    setObjectName(QStringLiteral("statusLabel"));
    m_text->setObjectName(QStringLiteral("statusLabelText"));
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(4);
    layout->addWidget(m_icon);
    layout->addWidget(m_text, 1);
    updateIcon();
}

QString StatusLabelView::text() const
{
    return m_text->text();
}

void StatusLabelView::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::PaletteChange) {
        updateIcon();
    }
    QWidget::changeEvent(event);
}

void StatusLabelView::updateIcon()
{
    const int size = std::max(9, m_text->font().pixelSize());
    m_icon->setPixmap(SymbolIcon::pixmap(
        m_status.symbol, size, PageLabels::toneColor(m_status.tone, this), devicePixelRatioF()));
    m_icon->setFixedSize(size, size);
}

}  // namespace vantrell
