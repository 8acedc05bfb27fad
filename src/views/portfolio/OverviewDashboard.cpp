#include "views/portfolio/OverviewDashboard.h"

#include "settings/AppSettings.h"
#include "store/PortfolioStore.h"
#include "views/drawing/Sparkline.h"
#include "views/kit/CardFrame.h"
#include "views/kit/FitLabel.h"
#include "views/kit/SymbolIcon.h"
#include "views/kit/VantrellPalette.h"
#include "views/kit/ViewFonts.h"
#include "views/portfolio/AdaptiveGrid.h"
#include "views/portfolio/OverviewExchangeCard.h"
#include "views/portfolio/PageLabels.h"
#include "views/portfolio/PositionRowsView.h"
#include "views/portfolio/PositionSortMenu.h"

#include <QAction>
#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QScrollArea>
#include <QVBoxLayout>

namespace vantrell {

OverviewDashboard::OverviewDashboard(PortfolioStore& store, AppSettings& settings,
                                     const Clock& clock, QWidget* parent)
    : QWidget(parent),
      m_store(&store),
      m_settings(&settings),
      m_clock(clock),
      m_refreshAction(new QAction(this)),
      m_scroll(new QScrollArea),
      m_badge(new QLabel(OverviewModel::notConnectedBadge)),
      m_lastUpdated(PageLabels::make({}, ViewFonts::font(11), PageLabels::secondary(),
                                     QStringLiteral("overviewLastUpdated"))),
      m_trendTitle(PageLabels::make({}, ViewFonts::font(10, QFont::Medium), PageLabels::secondary(),
                                    QStringLiteral("overviewTrendTitle"))),
      m_total(PageLabels::make({}, ViewFonts::font(24, QFont::DemiBold), PageLabels::primary(),
                               QStringLiteral("overviewTotal"), 0.7)),
      m_periodLine(PageLabels::make({}, ViewFonts::font(11, QFont::Medium), PageLabels::primary(),
                                    QStringLiteral("overviewPeriodLine"), 0.7)),
      m_sparkline(new Sparkline),
      m_emptyHint(PageLabels::make(OverviewModel::emptyHint, ViewFonts::font(11),
                                   PageLabels::secondary(), QStringLiteral("overviewEmptyHint"))),
      m_grid(new AdaptiveGrid(235, 10)),
      m_positions(new PositionRowsView(PositionDataRow::overviewColumns(), 6, false))
{
    setObjectName(QStringLiteral("overviewPage"));
    m_refreshAction->setObjectName(QStringLiteral("overviewRefreshAction"));
    connect(m_refreshAction, &QAction::triggered, this, [this] {
        if (m_store) {
            m_store->refresh(true);
        }
    });
    auto* content = new QWidget;
    auto* column = new QVBoxLayout(content);
    column->setContentsMargins(12, 12, 12, 12);
    column->setSpacing(10);
    column->addWidget(buildHeader());
    column->addWidget(buildPortfolioCard());
    m_grid->setObjectName(QStringLiteral("overviewExchangeGrid"));
    column->addWidget(m_grid);
    column->addWidget(buildPositionsCard());
    column->addStretch(1);
    m_scroll->setObjectName(QStringLiteral("overviewScroll"));
    m_scroll->setWidgetResizable(true);
    m_scroll->setFrameShape(QFrame::NoFrame);
    m_scroll->setWidget(content);
    m_scroll->viewport()->setAutoFillBackground(false);
    content->setAutoFillBackground(false);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_scroll);

    for (auto signal :
         {&PortfolioStore::snapshotChanged, &PortfolioStore::lastUpdatedChanged,
          &PortfolioStore::isRefreshingChanged, &PortfolioStore::exchangeStatusesChanged,
          &PortfolioStore::todayPnLChanged, &PortfolioStore::todayChangePercentChanged,
          &PortfolioStore::twentyFourHourPnLChanged,
          &PortfolioStore::twentyFourHourChangePercentChanged}) {
        connect(&store, signal, this, &OverviewDashboard::scheduleRender);
    }
    for (auto signal :
         {&AppSettings::displayCurrencyChanged, &AppSettings::currencyRatesChanged,
          &AppSettings::performancePeriodChanged, &AppSettings::positionSortModeChanged}) {
        connect(&settings, signal, this, &OverviewDashboard::scheduleRender);
    }
    render();
}

QWidget* OverviewDashboard::buildHeader()
{
    auto* header = new QWidget;
    auto* row = new QHBoxLayout(header);
    row->setContentsMargins(2, 0, 2, 0);
    row->addWidget(PageLabels::make(OverviewModel::title, ViewFonts::font(18, QFont::DemiBold),
                                    PageLabels::primary(), QStringLiteral("overviewTitle")),
                   0, Qt::AlignBottom);
    m_badge->setObjectName(QStringLiteral("overviewNotConnected"));
    m_badge->setFont(ViewFonts::font(9, QFont::Medium));
    m_badge->setContentsMargins(6, 2, 6, 2);
    row->addWidget(m_badge, 0, Qt::AlignBottom);
    row->addStretch(1);
    row->addWidget(m_lastUpdated, 0, Qt::AlignBottom);
    return header;
}

QWidget* OverviewDashboard::buildPortfolioCard()
{
    auto* card = new CardFrame(10);
    card->setObjectName(QStringLiteral("overviewPortfolioCard"));
    auto* top = new QHBoxLayout;
    top->addWidget(PageLabels::make(OverviewModel::totalLabel, ViewFonts::font(12, QFont::Medium),
                                    PageLabels::secondary()));
    top->addStretch(1);
    top->addWidget(m_trendTitle);
    auto* figures = new QHBoxLayout;
    figures->setSpacing(10);
    figures->addWidget(m_total, 0, Qt::AlignBottom);
    figures->addWidget(m_periodLine, 0, Qt::AlignBottom);
    auto* middle = new QHBoxLayout;
    middle->setSpacing(14);
    middle->addLayout(figures);
    middle->addStretch(1);
    m_sparkline->setObjectName(QStringLiteral("overviewSparkline"));
    m_sparkline->setFixedSize(160, 34);
    middle->addWidget(m_sparkline, 0, Qt::AlignBottom);
    auto* layout = new QVBoxLayout(card);
    layout->setContentsMargins(12, 12, 12, 12);
    layout->setSpacing(7);
    layout->addLayout(top);
    layout->addLayout(middle);
    layout->addWidget(m_emptyHint);
    return card;
}

QWidget* OverviewDashboard::buildPositionsCard()
{
    auto* card = new CardFrame(10);
    card->setObjectName(QStringLiteral("overviewPositionsCard"));
    auto* title = new QHBoxLayout;
    title->addWidget(PageLabels::make(OverviewModel::positionsTitle,
                                      ViewFonts::font(15, QFont::DemiBold), PageLabels::primary()));
    title->addStretch(1);
    title->addWidget(new PositionSortMenu(*m_settings));
    const PositionDataRow::Columns columns = PositionDataRow::overviewColumns();
    auto* heads = new QHBoxLayout;
    heads->setSpacing(10);
    const auto head = [](const QString& text, int width) {
        FitLabel* label =
            PageLabels::make(text, ViewFonts::font(10, QFont::Medium), PageLabels::secondary());
        if (width > 0) {
            label->setFixedWidth(width);
            label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        }
        return label;
    };
    heads->addWidget(head(QStringLiteral("交易对"), 0));
    heads->addStretch(1);
    heads->addWidget(head(QStringLiteral("数量"), columns.quantity));
    heads->addWidget(head(QStringLiteral("价值"), columns.value));
    heads->addWidget(head(QStringLiteral("未实现盈亏"), columns.pnl));
    auto* layout = new QVBoxLayout(card);
    layout->setContentsMargins(11, 11, 11, 11);
    layout->setSpacing(0);
    layout->addLayout(title);
    layout->addSpacing(6);
    layout->addLayout(heads);
    layout->addSpacing(3);
    layout->addWidget(m_positions);
    return card;
}

void OverviewDashboard::scheduleRender()
{
    m_coalescedRender.schedule();
}

void OverviewDashboard::render()
{
    m_coalescedRender.clear();
    if (!m_store || !m_settings) {
        return;
    }
    m_model = OverviewModel::build(*m_store, *m_settings, m_clock.now());
    m_refreshAction->setText(m_model.refreshButtonText);
    m_refreshAction->setEnabled(m_model.refreshEnabled);
    renderChrome();
    m_badge->setVisible(m_model.showsNotConnectedBadge);
    m_lastUpdated->setText(m_model.lastUpdatedText);
    m_trendTitle->setText(m_model.trendTitle);
    m_total->setText(m_model.totalText);
    m_total->setColorProvider(PageLabels::tint(m_model.totalTint));
    m_periodLine->setVisible(m_model.periodLine.has_value());
    m_periodLine->setText(m_model.periodLine.value_or(QString()));
    m_periodLine->setColorProvider(PageLabels::tint(m_model.periodLineTint));
    m_sparkline->setValues(m_model.sparklineValues);
    m_sparkline->setColor(changeTintColor(m_model.sparklineTint, this));
    m_emptyHint->setVisible(m_model.showsNotConnectedBadge);
    renderCards();
    m_positions->setRows(m_model.positionRows);
}

// Cards are made again only when what they show changed.
void OverviewDashboard::renderCards()
{
    if (m_model.cards == m_shownCards) {
        return;
    }
    std::vector<QWidget*> cards;
    for (const OverviewModel::ExchangeCard& card : m_model.cards) {
        cards.push_back(new OverviewExchangeCard(card, *m_store));
    }
    m_grid->setItems(std::move(cards));
    m_shownCards = m_model.cards;
}

// The button's icon and the badge's style sheet carry the palette's colours; they are made
// again only when those change.
void OverviewDashboard::renderChrome()
{
    const QColor ink = VantrellPalette::primary(this);
    if (ink != m_iconInk) {
        m_iconInk = ink;
        m_refreshAction->setIcon(SymbolIcon::icon(QStringLiteral("arrow.clockwise"), 14, ink));
    }
    QColor badgeFill = ink;
    badgeFill.setAlphaF(0.08);
    const QString style = QStringLiteral(
                              "QLabel { color: %1; background: rgba(%2, %3, %4, 0.08); "
                              "border-radius: 7px; }")
                              .arg(VantrellPalette::secondary(this).name())
                              .arg(badgeFill.red())
                              .arg(badgeFill.green())
                              .arg(badgeFill.blue());
    if (style != m_badgeStyle) {
        m_badgeStyle = style;
        m_badge->setStyleSheet(style);
    }
}

void OverviewDashboard::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), VantrellPalette::panel(this));
}

}  // namespace vantrell

namespace vantrell {

void OverviewDashboard::changeEvent(QEvent* event)
{
    // The badge's and the button's colours are drawn into a style sheet and an icon, and the
    // cards are made in the colours of their time.
    if (event->type() == QEvent::PaletteChange) {
        m_shownCards.reset();
        scheduleRender();
    }
    QWidget::changeEvent(event);
}

}  // namespace vantrell
