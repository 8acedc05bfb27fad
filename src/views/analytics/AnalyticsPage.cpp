#include "views/analytics/AnalyticsPage.h"

#include "settings/AppSettings.h"
#include "settings/ViewPreferences.h"
#include "store/PortfolioStore.h"
#include "views/analytics/AnalyticsChartCard.h"
#include "views/analytics/AnalyticsMetricCard.h"
#include "views/analytics/AnalyticsStyle.h"
#include "views/analytics/AnalyticsTexts.h"
#include "views/analytics/CaptionLabel.h"
#include "views/analytics/ExportErrorAlert.h"
#include "views/flows/CapitalFlowsDialog.h"
#include "views/kit/SegmentedControl.h"
#include "views/kit/VantrellPalette.h"
#include "views/kit/WindowAppearanceBridge.h"

#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

namespace vantrell {

namespace {

constexpr int pagePadding = 12;
constexpr int cardSpacing = 10;
constexpr int cardMinimumWidth = 135;
constexpr int rangePickerMaximumWidth = 340;

enum CardIndex { currentAssetsCard, changeCard, highCard, lowCard };

QPushButton* smallButton(QStringView text, const QString& name)
{
    auto* button = new QPushButton(text.toString());
    button->setObjectName(name);
    button->setAutoDefault(false);
    return button;
}

}  // namespace

AnalyticsPage::AnalyticsPage(PortfolioStore& store, AppSettings& settings,
                             ViewPreferences& preferences, const Clock& clock, QWidget* parent)
    : QScrollArea(parent),
      m_store(&store),
      m_settings(&settings),
      m_preferences(&preferences),
      m_clock(clock)
{
    setObjectName(QStringLiteral("analyticsPage"));
    setWidgetResizable(true);
    setFrameShape(QFrame::NoFrame);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    auto* content = new QWidget;
    content->setObjectName(QStringLiteral("analyticsContent"));
    auto* column = new QVBoxLayout(content);
    column->setContentsMargins(pagePadding, pagePadding, pagePadding, pagePadding);
    column->setSpacing(12);
    column->addWidget(header());
    column->addWidget(rangeRow());
    column->addLayout(cardGrid());
    m_chartCard = new AnalyticsChartCard;
    column->addWidget(m_chartCard);
    column->addStretch(1);
    setWidget(content);
    m_alert = new ExportErrorAlert(store, this);

    for (auto signal : {&PortfolioStore::snapshotChanged, &PortfolioStore::lastUpdatedChanged,
                        &PortfolioStore::isRefreshingChanged, &PortfolioStore::capitalFlowsChanged,
                        &PortfolioStore::exchangeStatusesChanged}) {
        connect(&store, signal, this, &AnalyticsPage::storeChanged);
    }
    connect(&settings, &AppSettings::displayCurrencyChanged, this, &AnalyticsPage::scheduleRebuild);
    connect(&settings, &AppSettings::currencyRatesChanged, this, &AnalyticsPage::scheduleRebuild);
    connect(&preferences, &ViewPreferences::adjustExternalFlowsChanged, this,
            &AnalyticsPage::scheduleRebuild);
    rememberTriggers();
    render();
    applyBackground();
}

AnalyticsPage::~AnalyticsPage() = default;

QWidget* AnalyticsPage::header()
{
    auto* title = new QLabel(AnalyticsTexts::pageTitle.toString());
    title->setObjectName(QStringLiteral("analyticsTitle"));
    title->setFont(AnalyticsStyle::titleFont());
    auto* subtitle =
        new CaptionLabel(AnalyticsTexts::pageSubtitle.toString(), AnalyticsStyle::captionFont());
    subtitle->setObjectName(QStringLiteral("analyticsSubtitle"));
    auto* titles = new QVBoxLayout;
    titles->setSpacing(2);
    titles->addWidget(title);
    titles->addWidget(subtitle);

    m_flowsButton = smallButton(AnalyticsTexts::capitalFlowsButton,
                                QStringLiteral("analyticsCapitalFlowsButton"));
    connect(m_flowsButton, &QPushButton::clicked, this, &AnalyticsPage::openCapitalFlows);
    m_exportButton =
        smallButton(AnalyticsTexts::exportButton, QStringLiteral("analyticsExportButton"));
    connect(m_exportButton, &QPushButton::clicked, this, [this] {
        if (m_store) {
            m_store->exportHistoryCSV();
        }
    });

    auto* row = new QWidget;
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addLayout(titles);
    layout->addStretch(1);
    layout->addWidget(m_flowsButton, 0, Qt::AlignVCenter);
    layout->addWidget(m_exportButton, 0, Qt::AlignVCenter);
    return row;
}

QWidget* AnalyticsPage::rangeRow()
{
    QStringList titles;
    for (AnalyticsRange range : allAnalyticsRanges) {
        titles.append(title(range));
    }
    m_rangePicker = new SegmentedControl(titles);
    m_rangePicker->setObjectName(QStringLiteral("analyticsRangePicker"));
    m_rangePicker->setAccessibleName(AnalyticsTexts::rangePickerLabel.toString());
    m_rangePicker->setMaximumWidth(rangePickerMaximumWidth);
    m_rangePicker->setCurrentIndex(0);
    connect(m_rangePicker, &SegmentedControl::currentIndexChanged, this,
            &AnalyticsPage::selectRange);
    auto* row = new QWidget;
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_rangePicker, 1);
    layout->addStretch(0);
    return row;
}

QGridLayout* AnalyticsPage::cardGrid()
{
    m_cardGrid = new QGridLayout;
    m_cardGrid->setHorizontalSpacing(cardSpacing);
    m_cardGrid->setVerticalSpacing(cardSpacing);
    const std::array<QString, 4> names{
        QStringLiteral("analyticsCurrentAssets"), QStringLiteral("analyticsChange"),
        QStringLiteral("analyticsHigh"), QStringLiteral("analyticsLow")};
    for (std::size_t i = 0; i < m_cards.size(); ++i) {
        m_cards[i] = new AnalyticsMetricCard(names[i]);
    }
    m_cards[currentAssetsCard]->setTitle(AnalyticsTexts::currentAssetsTitle.toString());
    m_cards[highCard]->setTitle(AnalyticsTexts::highTitle.toString());
    m_cards[lowCard]->setTitle(AnalyticsTexts::lowTitle.toString());
    layOutCards(4 * cardMinimumWidth + 3 * cardSpacing);
    return m_cardGrid;
}

// As many columns of at least the minimum width as fit, all equally wide.
void AnalyticsPage::layOutCards(int width)
{
    const int columns = std::clamp((width + cardSpacing) / (cardMinimumWidth + cardSpacing), 1,
                                   static_cast<int>(m_cards.size()));
    if (columns == m_cardColumns) {
        return;
    }
    for (AnalyticsMetricCard* card : m_cards) {
        m_cardGrid->removeWidget(card);
    }
    for (int column = 0; column < static_cast<int>(m_cards.size()); ++column) {
        m_cardGrid->setColumnStretch(column, column < columns ? 1 : 0);
    }
    for (int i = 0; i < static_cast<int>(m_cards.size()); ++i) {
        m_cardGrid->addWidget(m_cards[static_cast<std::size_t>(i)], i / columns, i % columns);
    }
    m_cardColumns = columns;
}

AnalyticsChartView* AnalyticsPage::chartView() const
{
    return m_chartCard->chartView();
}

void AnalyticsPage::setTimeZone(const QTimeZone& timeZone)
{
    m_timeZone = timeZone;
    chartView()->setTimeZone(timeZone);
}

void AnalyticsPage::selectRange(int index)
{
    if (index < 0 || index >= static_cast<int>(allAnalyticsRanges.size())) {
        return;
    }
    m_range = allAnalyticsRanges[static_cast<std::size_t>(index)];
    // The selection belongs to the old range: cleared before the new series is built.
    chartView()->clearSelection();
    rebuild();
}

void AnalyticsPage::storeChanged()
{
    if (!m_store) {
        return;
    }
    const AssetChartRevision revision{m_store->lastUpdated(), m_store->snapshot().totalValue,
                                      m_store->snapshot().isLive};
    if (revision != m_revision || m_store->hasFreshCompleteData() != m_fresh ||
        m_store->capitalFlows().size() != m_flowCount) {
        rememberTriggers();
        scheduleRebuild();
    } else {
        render();
    }
}

void AnalyticsPage::scheduleRebuild()
{
    render();
    // A hidden page rebuilds when it is shown again.
    if (!isVisible()) {
        return;
    }
    // Several triggers of one refresh give one rebuild.
    m_coalescedRebuild.schedule();
}

void AnalyticsPage::rememberTriggers()
{
    if (m_store) {
        m_revision = {m_store->lastUpdated(), m_store->snapshot().totalValue,
                      m_store->snapshot().isLive};
        m_fresh = m_store->hasFreshCompleteData();
        m_flowCount = m_store->capitalFlows().size();
    }
}

void AnalyticsPage::rebuild()
{
    m_coalescedRebuild.clear();
    if (!m_store || !m_settings || !m_preferences) {
        return;
    }
    m_data = AnalyticsChartData::rebuild(m_range, *m_store, *m_settings,
                                         m_preferences->adjustExternalFlows(), m_timeZone);
    rememberTriggers();
    if (m_data.points.empty()) {
        m_chartCard->setChart(std::nullopt);
    } else {
        m_chartCard->setChart(AnalyticsChartView::Content{
            m_data.points, m_data.yDomain,
            AnalyticsTexts::tone(m_store->hasFreshCompleteData(), m_data.changePercent), m_range,
            m_settings->displayCurrency()});
    }
    render();
}

void AnalyticsPage::render()
{
    if (!m_store || !m_settings || !m_preferences) {
        return;
    }
    const bool fresh = m_store->hasFreshCompleteData();
    const DisplayCurrency currency = m_settings->displayCurrency();
    const CurrencyRates& rates = m_settings->currencyRates();
    const PortfolioSnapshot& snapshot = m_store->snapshot();
    m_exportButton->setEnabled(!m_data.samples.empty());
    m_cards[currentAssetsCard]->setValue(
        AnalyticsTexts::currentAssetsText(snapshot.isLive, snapshot.totalValue, currency, rates),
        ValueTone::primary);
    m_cards[changeCard]->setTitle(
        AnalyticsTexts::changeCardTitle(m_range, m_preferences->adjustExternalFlows()));
    m_cards[changeCard]->setValue(
        AnalyticsTexts::changeText(fresh, m_data.change, m_data.changePercent, currency, rates),
        AnalyticsTexts::tone(fresh, m_data.change));
    m_cards[highCard]->setValue(AnalyticsTexts::extremumText(m_data.highUSD, currency, rates),
                                ValueTone::primary);
    m_cards[lowCard]->setValue(AnalyticsTexts::extremumText(m_data.lowUSD, currency, rates),
                               ValueTone::primary);
    std::optional<QString> badge;
    if (fresh && m_data.changePercent) {
        badge = AnalyticsTexts::badgeText(*m_data.changePercent);
    }
    m_chartCard->setHeader(AnalyticsTexts::sampleCountText(m_data.samples.size()), badge,
                           AnalyticsTexts::tone(fresh, m_data.changePercent));
    m_chartCard->setEmptyDescription(
        AnalyticsTexts::emptyDescription(!m_store->configuredExchanges().empty()));
}

void AnalyticsPage::openCapitalFlows()
{
    if (m_flowsSheet) {
        m_flowsSheet->raise();
        return;
    }
    if (!m_store) {
        return;
    }
    auto* sheet = new CapitalFlowsDialog(*m_store, m_clock, this);
    sheet->setAttribute(Qt::WA_DeleteOnClose);
    sheet->setWindowModality(Qt::WindowModal);
    if (const auto mode = WindowAppearanceBridge::appliedMode(window())) {
        WindowAppearanceBridge::apply(sheet, *mode);
    }
    m_flowsSheet = sheet;
    sheet->open();
}

void AnalyticsPage::showEvent(QShowEvent* event)
{
    QScrollArea::showEvent(event);
    rebuild();
}

void AnalyticsPage::resizeEvent(QResizeEvent* event)
{
    QScrollArea::resizeEvent(event);
    layOutCards(viewport()->width() - 2 * pagePadding);
}

void AnalyticsPage::changeEvent(QEvent* event)
{
    QScrollArea::changeEvent(event);
    if (event->type() == QEvent::PaletteChange) {
        applyBackground();
    }
}

void AnalyticsPage::applyBackground()
{
    QPalette palette = viewport()->palette();
    palette.setColor(QPalette::Window, VantrellPalette::panel(this));
    viewport()->setPalette(palette);
    viewport()->setBackgroundRole(QPalette::Window);
    viewport()->setAutoFillBackground(true);
    widget()->setAutoFillBackground(false);
}

CapitalFlowsDialog* AnalyticsPage::capitalFlowsSheet() const
{
    return m_flowsSheet;
}

}  // namespace vantrell
