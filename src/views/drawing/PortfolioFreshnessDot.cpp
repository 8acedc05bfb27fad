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

namespace {

QString helpTextOf(const QString& description)
{
    return description.isEmpty() ? QStringLiteral("等待账户数据") : description;
}

}  // namespace

QString PortfolioFreshnessDot::helpText() const
{
    return helpTextOf(m_store ? m_store->freshnessDescription() : QString());
}

void PortfolioFreshnessDot::refresh()
{
    if (CoalescedRender::isInClosedWindow(this)) {
        m_whenShown.schedule();
        return;
    }
    readStore();
}

void PortfolioFreshnessDot::readStore()
{
    m_whenShown.clear();
    const QString description = m_store ? m_store->freshnessDescription() : QString();
    setToolTip(PlainText::toolTip(helpTextOf(description)));
    setAccessibleDescription(description);
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
