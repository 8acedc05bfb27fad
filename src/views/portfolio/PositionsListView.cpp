#include "views/portfolio/PositionsListView.h"

#include "settings/AppSettings.h"
#include "store/PortfolioStore.h"
#include "views/kit/EmptyStateView.h"
#include "views/kit/FitLabel.h"
#include "views/kit/VantrellPalette.h"
#include "views/kit/ViewFonts.h"
#include "views/portfolio/ListTableCard.h"
#include "views/portfolio/PageLabels.h"
#include "views/portfolio/PortfolioFilterBar.h"
#include "views/portfolio/PositionDataRow.h"
#include "views/portfolio/PositionRowDelegate.h"
#include "views/portfolio/PositionSortMenu.h"
#include "views/portfolio/PositionTableModel.h"

#include <QHBoxLayout>
#include <QHideEvent>
#include <QListView>
#include <QPainter>
#include <QShowEvent>
#include <QStackedWidget>
#include <QVBoxLayout>

namespace vantrell {

PositionsListView::PositionsListView(PortfolioStore& store, AppSettings& settings,
                                     LocalCredentialStore credentials, QWidget* parent)
    : QWidget(parent),
      m_store(&store),
      m_settings(&settings),
      m_count(PageLabels::make({}, ViewFonts::font(11), PageLabels::secondary(),
                               QStringLiteral("positionsCount"))),
      m_filterBar(new PortfolioFilterBar(store, std::move(credentials), true)),
      m_stack(new QStackedWidget),
      m_model(new PositionTableModel(this)),
      m_empty(new EmptyStateView({}, {}, {}))
{
    setObjectName(QStringLiteral("positionsPage"));
    auto* header = new QHBoxLayout;
    header->addWidget(PageLabels::make(QStringLiteral("合约持仓"),
                                       ViewFonts::font(20, QFont::DemiBold), PageLabels::primary(),
                                       QStringLiteral("positionsTitle")));
    header->addWidget(m_count);
    header->addStretch(1);
    header->addWidget(new PositionSortMenu(settings));

    auto* table = new ListTableCard({{QStringLiteral("交易对 / 价格"), 0},
                                     {QStringLiteral("数量"), PositionDataRow::quantityWidth},
                                     {QStringLiteral("价值"), PositionDataRow::valueWidth},
                                     {QStringLiteral("未实现盈亏"), PositionDataRow::pnlWidth}},
                                    10);
    table->setObjectName(QStringLiteral("positionsTable"));
    m_table = table->list();
    m_table->setModel(m_model);
    m_table->setItemDelegate(new PositionRowDelegate(*m_model, m_table));
    m_empty->setMinimumHeight(320);
    m_stack->addWidget(table);
    m_stack->addWidget(m_empty);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(12, 12, 12, 12);
    layout->setSpacing(9);
    layout->addLayout(header);
    layout->addWidget(m_filterBar);
    layout->addWidget(m_stack, 1);

    connect(m_filterBar, &PortfolioFilterBar::filterChanged, this, &PositionsListView::setFilter);
    connect(&store, &PortfolioStore::snapshotChanged, this, &PositionsListView::storeChanged);
    connect(&store, &PortfolioStore::lastUpdatedChanged, this, &PositionsListView::storeChanged);
    connect(&settings, &AppSettings::positionSortModeChanged, this, &PositionsListView::rebuild);
    for (auto signal : {&AppSettings::displayCurrencyChanged, &AppSettings::currencyRatesChanged}) {
        connect(&settings, signal, this, [this] {
            if (m_settings) {
                m_model->setAmounts(AmountTexts::from(*m_settings));
            }
        });
    }
}

void PositionsListView::rebuild()
{
    if (!m_store || !m_settings) {
        return;
    }
    ++m_rebuildCount;
    m_key = ListRebuildKey::of(*m_store);
    m_list.rebuild(m_store->snapshot().positions, m_filter, m_settings->positionSortMode());
    showRows();
}

void PositionsListView::showRows()
{
    const qsizetype total = static_cast<qsizetype>(m_store->snapshot().positions.size());
    m_count->setText(m_list.countText(total));
    m_model->setRows(m_list.rows(), AmountTexts::from(*m_settings));
    if (m_list.rows().empty()) {
        const ListEmptyState state = PositionListModel::emptyState(total);
        m_empty->setContent(state.symbol, state.title, state.description);
        m_stack->setCurrentWidget(m_empty);
    } else {
        m_stack->setCurrentIndex(0);
    }
}

void PositionsListView::storeChanged()
{
    // Only a new refresh time or a new total rebuilds, and only while the page is shown.
    if (!m_store || !isVisible() || (m_key && *m_key == ListRebuildKey::of(*m_store))) {
        return;
    }
    rebuild();
}

void PositionsListView::setFilter(const PortfolioFilter& filter)
{
    if (filter == m_filter) {
        return;
    }
    m_filter = filter;
    rebuild();
}

void PositionsListView::showEvent(QShowEvent* event)
{
    if (!event->spontaneous()) {
        rebuild();
    }
    QWidget::showEvent(event);
}

void PositionsListView::hideEvent(QHideEvent* event)
{
    // Leaving the page (not minimising the window) starts the next visit afresh.
    if (!event->spontaneous()) {
        m_filter = PortfolioFilter{};
        m_filterBar->setFilter(m_filter);
        m_key.reset();
    }
    QWidget::hideEvent(event);
}

void PositionsListView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), VantrellPalette::panel(this));
}

}  // namespace vantrell
