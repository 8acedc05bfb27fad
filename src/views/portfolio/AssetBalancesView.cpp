#include "views/portfolio/AssetBalancesView.h"

#include "settings/AppSettings.h"
#include "store/PortfolioStore.h"
#include "views/kit/EmptyStateView.h"
#include "views/kit/FitLabel.h"
#include "views/kit/VantrellPalette.h"
#include "views/kit/ViewFonts.h"
#include "views/portfolio/BalanceRowDelegate.h"
#include "views/portfolio/BalanceTableModel.h"
#include "views/portfolio/ListTableCard.h"
#include "views/portfolio/PageLabels.h"
#include "views/portfolio/PortfolioFilterBar.h"

#include <QHBoxLayout>
#include <QHideEvent>
#include <QListView>
#include <QPainter>
#include <QShowEvent>
#include <QStackedWidget>
#include <QVBoxLayout>

namespace vantrell {

AssetBalancesView::AssetBalancesView(PortfolioStore& store, AppSettings& settings,
                                     LocalCredentialStore credentials, QWidget* parent)
    : QWidget(parent),
      m_store(&store),
      m_settings(&settings),
      m_count(PageLabels::make({}, ViewFonts::font(11), PageLabels::secondary(),
                               QStringLiteral("assetsCount"))),
      m_filterBar(new PortfolioFilterBar(store, std::move(credentials), false)),
      m_stack(new QStackedWidget),
      m_model(new BalanceTableModel(this)),
      m_empty(new EmptyStateView({}, {}, {}))
{
    setObjectName(QStringLiteral("assetsPage"));
    auto* header = new QHBoxLayout;
    header->addWidget(PageLabels::make(QStringLiteral("资产明细"),
                                       ViewFonts::font(20, QFont::DemiBold), PageLabels::primary(),
                                       QStringLiteral("assetsTitle")));
    header->addWidget(m_count);
    header->addStretch(1);

    auto* table = new ListTableCard({{QStringLiteral("资产 / 账户"), 0},
                                     {QStringLiteral("数量"), BalanceRowDelegate::quantityWidth},
                                     {QStringLiteral("价值"), BalanceRowDelegate::valueWidth}},
                                    6);
    table->setObjectName(QStringLiteral("assetsTable"));
    m_table = table->list();
    m_table->setModel(m_model);
    m_table->setItemDelegate(new BalanceRowDelegate(*m_model, m_table));
    m_empty->setMinimumHeight(320);
    m_stack->addWidget(table);
    m_stack->addWidget(m_empty);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(12, 12, 12, 12);
    layout->setSpacing(9);
    layout->addLayout(header);
    layout->addWidget(m_filterBar);
    layout->addWidget(m_stack, 1);

    connect(m_filterBar, &PortfolioFilterBar::filterChanged, this, &AssetBalancesView::setFilter);
    connect(&store, &PortfolioStore::snapshotChanged, this, &AssetBalancesView::storeChanged);
    connect(&store, &PortfolioStore::lastUpdatedChanged, this, &AssetBalancesView::storeChanged);
    for (auto signal : {&AppSettings::displayCurrencyChanged, &AppSettings::currencyRatesChanged}) {
        connect(&settings, signal, this, [this] {
            if (m_settings) {
                m_model->setAmounts(AmountTexts::from(*m_settings));
            }
        });
    }
}

void AssetBalancesView::rebuild()
{
    if (!m_store || !m_settings) {
        return;
    }
    ++m_rebuildCount;
    m_key = ListRebuildKey::of(*m_store);
    m_list.rebuild(m_store->snapshot().balances, m_filter);
    showRows();
}

void AssetBalancesView::showRows()
{
    const qsizetype total = static_cast<qsizetype>(m_store->snapshot().balances.size());
    m_count->setText(m_list.countText(total));
    m_model->setRows(m_list.rows(), AmountTexts::from(*m_settings));
    if (m_list.rows().empty()) {
        const ListEmptyState state = AssetListModel::emptyState(total);
        m_empty->setContent(state.symbol, state.title, state.description);
        m_stack->setCurrentWidget(m_empty);
    } else {
        m_stack->setCurrentIndex(0);
    }
}

void AssetBalancesView::storeChanged()
{
    // Only a new refresh time or a new total rebuilds, and only while the page is shown.
    if (!m_store || !isVisible() || (m_key && *m_key == ListRebuildKey::of(*m_store))) {
        return;
    }
    rebuild();
}

void AssetBalancesView::setFilter(const PortfolioFilter& filter)
{
    if (filter == m_filter) {
        return;
    }
    m_filter = filter;
    rebuild();
}

void AssetBalancesView::showEvent(QShowEvent* event)
{
    if (!event->spontaneous()) {
        rebuild();
    }
    QWidget::showEvent(event);
}

void AssetBalancesView::hideEvent(QHideEvent* event)
{
    // Leaving the page (not minimising the window) starts the next visit afresh.
    if (!event->spontaneous()) {
        m_filter = PortfolioFilter{};
        m_filterBar->setFilter(m_filter);
        m_key.reset();
    }
    QWidget::hideEvent(event);
}

void AssetBalancesView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), VantrellPalette::panel(this));
}

}  // namespace vantrell
