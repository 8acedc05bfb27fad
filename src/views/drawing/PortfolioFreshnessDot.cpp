#include "views/drawing/PortfolioFreshnessDot.h"

#include "store/PortfolioStore.h"
#include "views/kit/PlainText.h"
#include "views/kit/VantrellPalette.h"

#include <QPainter>

namespace vantrell {

PortfolioFreshnessDot::PortfolioFreshnessDot(PortfolioStore& store,
                                             std::optional<Exchange> exchange, QWidget* parent)
    : QWidget(parent), m_store(&store), m_exchange(exchange)
{
    setObjectName(QStringLiteral("freshnessDot"));
    setFixedSize(6, 6);
    setAccessibleName(QStringLiteral("数据状态"));
    for (auto signal : {&PortfolioStore::snapshotChanged, &PortfolioStore::exchangeStatusesChanged,
                        &PortfolioStore::lastUpdatedChanged}) {
        connect(&store, signal, this, &PortfolioFreshnessDot::refresh);
    }
    refresh();
}

bool PortfolioFreshnessDot::isFresh() const
{
    if (!m_store) {
        return false;
    }
    return m_exchange ? m_store->isFresh(*m_exchange) : m_store->hasFreshCompleteData();
}

QColor PortfolioFreshnessDot::dotColor() const
{
    return isFresh() ? VantrellPalette::systemGreen(this) : VantrellPalette::systemOrange(this);
}

QString PortfolioFreshnessDot::helpText() const
{
    const QString description = m_store ? m_store->freshnessDescription() : QString();
    return description.isEmpty() ? QStringLiteral("等待账户数据") : description;
}

void PortfolioFreshnessDot::refresh()
{
    setToolTip(PlainText::toolTip(helpText()));
    setAccessibleDescription(m_store ? m_store->freshnessDescription() : QString());
    update();
}

void PortfolioFreshnessDot::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(dotColor());
    painter.drawEllipse(QRectF(rect()));
}

}  // namespace vantrell
