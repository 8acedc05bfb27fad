#include "views/portfolio/ExchangeDetailView.h"

#include "settings/AppSettings.h"
#include "store/PortfolioStore.h"
#include "views/drawing/ExchangeIcon.h"
#include "views/kit/CardFrame.h"
#include "views/kit/EmptyStateView.h"
#include "views/kit/FitLabel.h"
#include "views/kit/VantrellPalette.h"
#include "views/kit/ViewFonts.h"
#include "views/portfolio/DividerLine.h"
#include "views/portfolio/PageLabels.h"
#include "views/portfolio/PlainCard.h"
#include "views/portfolio/PositionRowsView.h"
#include "views/portfolio/StatusLabelView.h"

#include <QHBoxLayout>
#include <QPainter>
#include <QScrollArea>
#include <QScrollBar>
#include <QVBoxLayout>

namespace vantrell {

namespace {

QVBoxLayout* sectionLayout(QWidget* card, const QString& title)
{
    auto* layout = new QVBoxLayout(card);
    layout->setContentsMargins(13, 13, 13, 13);
    layout->setSpacing(8);
    layout->addWidget(
        PageLabels::make(title, ViewFonts::font(13, QFont::DemiBold), PageLabels::primary()));
    return layout;
}

}  // namespace

ExchangeDetailView::ExchangeDetailView(PortfolioStore& store, AppSettings& settings,
                                       Exchange exchange, QWidget* parent)
    : QWidget(parent),
      m_store(&store),
      m_settings(&settings),
      m_exchange(exchange),
      m_scroll(new QScrollArea)
{
    setObjectName(QStringLiteral("exchangePage.") + caseName(exchange));
    m_scroll->setWidgetResizable(true);
    m_scroll->setFrameShape(QFrame::NoFrame);
    m_scroll->viewport()->setAutoFillBackground(false);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_scroll);
    for (auto signal :
         {&PortfolioStore::snapshotChanged, &PortfolioStore::exchangeStatusesChanged}) {
        connect(&store, signal, this, &ExchangeDetailView::scheduleRender);
    }
    for (auto signal : {&AppSettings::displayCurrencyChanged, &AppSettings::currencyRatesChanged,
                        &AppSettings::positionSortModeChanged}) {
        connect(&settings, signal, this, &ExchangeDetailView::scheduleRender);
    }
    render();
}

void ExchangeDetailView::scheduleRender()
{
    m_coalescedRender.schedule();
}

void ExchangeDetailView::render()
{
    m_coalescedRender.clear();
    if (!m_store || !m_settings) {
        return;
    }
    m_model = ExchangeDetailModel::build(m_exchange, *m_store, *m_settings);
    const int scrollValue = m_scroll->verticalScrollBar()->value();
    auto* content = new QWidget;
    content->setAutoFillBackground(false);
    auto* column = new QVBoxLayout(content);
    column->setContentsMargins(16, 16, 16, 16);
    column->setSpacing(14);
    column->addWidget(buildHeader());
    if (m_model.hasAccount) {
        column->addWidget(buildMetrics());
        column->addWidget(buildAssets());
        column->addWidget(buildPositions());
    } else {
        auto* empty = new EmptyStateView(m_model.noAccount.symbol, m_model.noAccount.title,
                                         m_model.noAccount.description);
        empty->setObjectName(QStringLiteral("exchangeNoAccount"));
        empty->setMinimumHeight(300);
        column->addWidget(empty);
    }
    column->addStretch(1);
    delete m_scroll->takeWidget();
    m_scroll->setWidget(content);
    m_content = content;
    m_scroll->verticalScrollBar()->setValue(scrollValue);
}

QWidget* ExchangeDetailView::buildHeader()
{
    auto* header = new QWidget;
    auto* row = new QHBoxLayout(header);
    row->setContentsMargins(0, 0, 0, 0);
    row->addWidget(new ExchangeIcon(m_exchange, 30));
    row->addWidget(PageLabels::make(m_model.name, ViewFonts::font(20, QFont::DemiBold),
                                    PageLabels::primary(), QStringLiteral("exchangeName")));
    row->addStretch(1);
    auto* badge = new StatusLabelView(m_model.status, ViewFonts::font(12));
    badge->setObjectName(QStringLiteral("exchangeStatusBadge"));
    row->addWidget(badge);
    return header;
}

QWidget* ExchangeDetailView::buildMetrics()
{
    auto* row = new QWidget;
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(12);
    int index = 0;
    for (const ExchangeDetailModel::Metric& metric : m_model.metrics) {
        auto* card = new CardFrame(10);
        card->setObjectName(QStringLiteral("exchangeMetric%1").arg(index++));
        card->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
        auto* cardLayout = new QVBoxLayout(card);
        cardLayout->setContentsMargins(12, 12, 12, 12);
        cardLayout->setSpacing(6);
        cardLayout->addWidget(PageLabels::make(metric.title, ViewFonts::font(11),
                                               PageLabels::secondary(),
                                               QStringLiteral("exchangeMetricTitle")));
        cardLayout->addWidget(PageLabels::make(metric.value, ViewFonts::font(18, QFont::DemiBold),
                                               PageLabels::primary(),
                                               QStringLiteral("exchangeMetricValue"), 0.6));
        layout->addWidget(card, 1);
    }
    return row;
}

QWidget* ExchangeDetailView::buildAssets()
{
    auto* card = new PlainCard;
    card->setObjectName(QStringLiteral("exchangeAssets"));
    QVBoxLayout* layout = sectionLayout(card, ExchangeDetailModel::assetsTitle);
    if (m_model.assetRows.empty()) {
        layout->addWidget(PageLabels::make(ExchangeDetailModel::assetsEmptyText,
                                           ViewFonts::font(12), PageLabels::secondary(),
                                           QStringLiteral("exchangeAssetsEmpty")));
    }
    for (const BalanceRowTexts& texts : m_model.assetRows) {
        auto* row = new QHBoxLayout;
        row->addWidget(PageLabels::make(texts.asset, ViewFonts::font(12, QFont::DemiBold),
                                        PageLabels::primary(), QStringLiteral("exchangeAsset")));
        row->addWidget(
            PageLabels::make(texts.account, ViewFonts::font(11), PageLabels::secondary()));
        row->addStretch(1);
        row->addWidget(
            PageLabels::make(texts.quantity, ViewFonts::font(12), PageLabels::primary()));
        FitLabel* value = PageLabels::make(texts.value, ViewFonts::font(12), PageLabels::primary());
        value->setFixedWidth(110);
        value->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        row->addWidget(value);
        layout->addLayout(row);
        layout->addWidget(new DividerLine);
    }
    return card;
}

QWidget* ExchangeDetailView::buildPositions()
{
    auto* card = new PlainCard;
    card->setObjectName(QStringLiteral("exchangePositions"));
    QVBoxLayout* layout = sectionLayout(card, ExchangeDetailModel::positionsTitle);
    if (m_model.positionRows.empty()) {
        layout->addWidget(PageLabels::make(ExchangeDetailModel::positionsEmptyText,
                                           ViewFonts::font(12), PageLabels::secondary(),
                                           QStringLiteral("exchangePositionsEmpty")));
        return card;
    }
    auto* rows = new PositionRowsView(PositionDataRow::tableColumns(), 0, true);
    rows->setRows(m_model.positionRows);
    layout->addWidget(rows);
    return card;
}

void ExchangeDetailView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), VantrellPalette::panel(this));
}

}  // namespace vantrell
