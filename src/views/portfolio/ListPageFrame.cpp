#include "views/portfolio/ListPageFrame.h"

#include "settings/AppSettings.h"
#include "store/PortfolioStore.h"
#include "views/kit/EmptyStateView.h"
#include "views/kit/FitLabel.h"
#include "views/kit/VantrellPalette.h"
#include "views/kit/ViewFonts.h"
#include "views/portfolio/ListTableCard.h"
#include "views/portfolio/PageLabels.h"
#include "views/portfolio/PortfolioFilterBar.h"

#include <QHBoxLayout>
#include <QHideEvent>
#include <QPainter>
#include <QShowEvent>
#include <QStackedWidget>
#include <QVBoxLayout>

namespace vantrell {

ListPageFrame::ListPageFrame(PortfolioStore& store, AppSettings& settings,
                             LocalCredentialStore credentials, bool forPositions,
                             const QString& name, const QString& title, QWidget* parent)
    : QWidget(parent),
      m_store(&store),
      m_settings(&settings),
      m_name(name),
      m_header(new QHBoxLayout),
      m_count(PageLabels::make({}, ViewFonts::font(11), PageLabels::secondary(),
                               name + QStringLiteral("Count"))),
      m_filterBar(new PortfolioFilterBar(store, std::move(credentials), forPositions)),
      m_stack(new QStackedWidget),
      m_empty(new EmptyStateView({}, {}, {}))
{
    setObjectName(name + QStringLiteral("Page"));
    m_header->addWidget(PageLabels::make(title, ViewFonts::font(20, QFont::DemiBold),
                                         PageLabels::primary(), name + QStringLiteral("Title")));
    m_header->addWidget(m_count);
    m_header->addStretch(1);
    m_empty->setMinimumHeight(320);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(12, 12, 12, 12);
    layout->setSpacing(9);
    layout->addLayout(m_header);
    layout->addWidget(m_filterBar);
    layout->addWidget(m_stack, 1);

    connect(m_filterBar, &PortfolioFilterBar::filterChanged, this, &ListPageFrame::setFilter);
    connect(&store, &PortfolioStore::snapshotChanged, this, &ListPageFrame::storeChanged);
    connect(&store, &PortfolioStore::lastUpdatedChanged, this, &ListPageFrame::storeChanged);
    for (auto signal : {&AppSettings::displayCurrencyChanged, &AppSettings::currencyRatesChanged}) {
        connect(&settings, signal, this, [this] {
            if (m_settings) {
                setAmounts(AmountTexts::from(*m_settings));
            }
        });
    }
}

void ListPageFrame::setTable(ListTableCard* table)
{
    table->setObjectName(m_name + QStringLiteral("Table"));
    m_stack->addWidget(table);
    m_stack->addWidget(m_empty);
}

const PortfolioStore& ListPageFrame::store() const
{
    return *m_store;
}

const AppSettings& ListPageFrame::settings() const
{
    return *m_settings;
}

void ListPageFrame::rebuild()
{
    if (!m_store || !m_settings) {
        return;
    }
    ++m_rebuildCount;
    m_key = ListRebuildKey::of(*m_store);
    rebuildList();
    showRows();
}

void ListPageFrame::showRows()
{
    const Shown shown = showList(AmountTexts::from(*m_settings));
    m_count->setText(shown.countText);
    if (shown.emptyState) {
        m_empty->setContent(shown.emptyState->symbol, shown.emptyState->title,
                            shown.emptyState->description);
        m_stack->setCurrentWidget(m_empty);
    } else {
        m_stack->setCurrentIndex(0);
    }
}

void ListPageFrame::storeChanged()
{
    // Only a new refresh time or a new total rebuilds, and only while the page is shown.
    if (!m_store || !isVisible() || (m_key && *m_key == ListRebuildKey::of(*m_store))) {
        return;
    }
    rebuild();
}

void ListPageFrame::setFilter(const PortfolioFilter& filter)
{
    if (filter == m_filter) {
        return;
    }
    m_filter = filter;
    rebuild();
}

void ListPageFrame::showEvent(QShowEvent* event)
{
    if (!event->spontaneous()) {
        rebuild();
    }
    QWidget::showEvent(event);
}

void ListPageFrame::hideEvent(QHideEvent* event)
{
    // Leaving the page (not minimising the window) starts the next visit afresh.
    if (!event->spontaneous()) {
        m_filter = PortfolioFilter{};
        m_filterBar->setFilter(m_filter);
        m_key.reset();
    }
    QWidget::hideEvent(event);
}

void ListPageFrame::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), VantrellPalette::panel(this));
}

}  // namespace vantrell
