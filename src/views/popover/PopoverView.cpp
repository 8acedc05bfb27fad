#include "views/popover/PopoverView.h"

#include "views/popover/FloatingPanelSwitch.h"

#include "services/UpdateChecker.h"
#include "settings/AppSettings.h"
#include "store/PortfolioStore.h"
#include "views/kit/CardFrame.h"
#include "views/kit/FitLabel.h"
#include "views/kit/SymbolIcon.h"
#include "views/kit/VantrellPalette.h"
#include "views/kit/ViewFonts.h"
#include "views/popover/PopoverExchangeCard.h"
#include "views/popover/PopoverHeader.h"
#include "views/popover/PopoverPositionList.h"
#include "views/portfolio/DividerLine.h"
#include "views/portfolio/PageLabels.h"
#include "views/portfolio/PositionSortMenu.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QPainter>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QVBoxLayout>

namespace vantrell {

namespace {

QWidget* paddedDivider()
{
    auto* holder = new QWidget;
    auto* layout = new QHBoxLayout(holder);
    layout->setContentsMargins(18, 0, 18, 0);
    layout->addWidget(new DividerLine);
    return holder;
}

QPushButton* actionButton(const QString& text, const QString& symbol, const QString& name)
{
    auto* button = new QPushButton(text);
    button->setObjectName(name);
    button->setProperty("symbol", symbol);
    button->setMinimumHeight(34);
    button->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    button->setFont(ViewFonts::font(13));
    return button;
}

}  // namespace

PopoverView::PopoverView(PortfolioStore& store, AppSettings& settings,
                         FloatingPanelSwitch& floating, UpdateChecker& updateChecker,
                         QWidget* parent)
    : QWidget(parent),
      m_store(&store),
      m_settings(&settings),
      m_floating(&floating),
      m_updateChecker(&updateChecker),
      m_header(new PopoverHeader(store)),
      m_scroll(new QScrollArea),
      m_cards(new QVBoxLayout),
      m_positionCount(PageLabels::make({}, ViewFonts::font(10), PageLabels::tertiary(),
                                       QStringLiteral("popoverPositionCount"))),
      m_noPositions(PageLabels::make(PopoverModel::noPositionsText, ViewFonts::font(11),
                                     PageLabels::secondary(),
                                     QStringLiteral("popoverNoPositions"))),
      m_positions(new PopoverPositionList),
      m_banner(new QPushButton),
      m_openMain(actionButton(PopoverModel::openMainWindowText, QStringLiteral("macwindow"),
                              QStringLiteral("popoverOpenMainButton"))),
      m_floatingButton(
          actionButton({}, QStringLiteral("pip"), QStringLiteral("popoverFloatingButton")))
{
    setObjectName(QStringLiteral("popoverView"));
    auto* content = new QWidget;
    content->setObjectName(QStringLiteral("popoverScrollContent"));
    content->setAutoFillBackground(false);
    auto* stack = new QVBoxLayout(content);
    stack->setContentsMargins(10, 8, 10, 8);
    stack->setSpacing(8);
    m_cards->setSpacing(8);
    stack->addLayout(m_cards);
    stack->addWidget(buildPositionsCard());
    stack->addStretch(1);
    m_scroll->setObjectName(QStringLiteral("popoverScroll"));
    m_scroll->setWidgetResizable(true);
    m_scroll->setFrameShape(QFrame::NoFrame);
    m_scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_scroll->setWidget(content);
    m_scroll->viewport()->setAutoFillBackground(false);

    m_banner->setObjectName(QStringLiteral("popoverUpdateBanner"));
    m_banner->setFlat(true);
    m_banner->setFont(ViewFonts::font(11, QFont::Medium));
    m_banner->setCursor(Qt::PointingHandCursor);
    m_banner->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(m_header);
    layout->addWidget(paddedDivider());
    layout->addWidget(m_scroll, 1);
    layout->addWidget(paddedDivider());
    layout->addWidget(m_banner);
    layout->addWidget(buildActions());

    connect(m_header, &PopoverHeader::refreshClicked, this, [this] {
        if (m_store) {
            m_store->refresh(true);
        }
    });
    connect(m_header, &PopoverHeader::settingsClicked, this, &PopoverView::openSettingsRequested);
    connect(m_header, &PopoverHeader::quitClicked, this, &PopoverView::quitRequested);
    connect(m_banner, &QPushButton::clicked, this, &PopoverView::bannerClicked);
    connect(m_openMain, &QPushButton::clicked, this, &PopoverView::openMainWindowRequested);
    connect(m_floatingButton, &QPushButton::clicked, this, &PopoverView::toggleFloating);
    connectSources();
    applyColours();
    render();
}

void PopoverView::connectSources()
{
    for (auto signal :
         {&PortfolioStore::snapshotChanged, &PortfolioStore::lastUpdatedChanged,
          &PortfolioStore::isRefreshingChanged, &PortfolioStore::exchangeStatusesChanged,
          &PortfolioStore::todayPnLChanged, &PortfolioStore::todayChangePercentChanged,
          &PortfolioStore::twentyFourHourPnLChanged,
          &PortfolioStore::twentyFourHourChangePercentChanged}) {
        connect(m_store, signal, this, &PopoverView::scheduleRender);
    }
    for (auto signal : {&AppSettings::displayCurrencyChanged, &AppSettings::currencyRatesChanged,
                        &AppSettings::performancePeriodChanged,
                        &AppSettings::positionSortModeChanged, &AppSettings::appearanceChanged}) {
        connect(m_settings, signal, this, &PopoverView::scheduleRender);
    }
    connect(m_updateChecker, &UpdateChecker::stateChanged, this, &PopoverView::scheduleRender);
    connect(m_floating, &FloatingPanelSwitch::isVisibleChanged, this, &PopoverView::scheduleRender);
}

QWidget* PopoverView::buildPositionsCard()
{
    auto* card = new CardFrame(10);
    card->setObjectName(QStringLiteral("popoverPositionsCard"));
    auto* title = new QHBoxLayout;
    title->addWidget(PageLabels::make(PopoverModel::positionsTitle,
                                      ViewFonts::font(12, QFont::Medium), PageLabels::secondary()));
    title->addStretch(1);
    auto* trailing = new QHBoxLayout;
    trailing->setSpacing(7);
    trailing->addWidget(m_positionCount);
    m_sortMenu = new PositionSortMenu(*m_settings);
    trailing->addWidget(m_sortMenu);
    title->addLayout(trailing);
    auto* layout = new QVBoxLayout(card);
    layout->setContentsMargins(10, 10, 10, 10);
    layout->setSpacing(0);
    layout->addLayout(title);
    layout->addSpacing(7);
    m_noPositions->setContentsMargins(0, 7, 0, 7);
    layout->addWidget(m_noPositions);
    layout->addWidget(m_positions);
    return card;
}

QWidget* PopoverView::buildActions()
{
    auto* row = new QWidget;
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(18, 8, 18, 8);
    layout->setSpacing(8);
    layout->addWidget(m_openMain);
    layout->addWidget(m_floatingButton);
    return row;
}

void PopoverView::setVisibleScreenHeight(std::optional<int> height)
{
    m_visibleScreenHeight = height;
    render();
}

void PopoverView::scheduleRender()
{
    m_coalescedRender.schedule();
}

void PopoverView::render()
{
    m_coalescedRender.clear();
    if (!m_store || !m_settings || !m_floating || !m_updateChecker) {
        return;
    }
    PopoverModel::Extras extras;
    const UpdateChecker::State state = m_updateChecker->state();
    if (state.kind() == UpdateChecker::State::Kind::updateAvailable) {
        extras.availableVersion = state.text();
    }
    extras.isFloatingVisible = m_floating->isVisible();
    extras.visibleScreenHeight = m_visibleScreenHeight;
    m_model = PopoverModel::build(*m_store, *m_settings, extras);

    QScrollBar* bar = m_scroll->verticalScrollBar();
    const int scrollValue = bar->value();
    m_header->setModel(m_model);
    // Cards are rebuilt only when what they show changed.
    if (m_model.cards != m_shownCards) {
        rebuildCards();
    }
    m_positionCount->setText(m_model.positionCountText);
    m_noPositions->setVisible(m_model.positionRows.empty());
    m_positions->setVisible(!m_model.positionRows.empty());
    m_positions->setRows(m_model.positionRows);
    m_banner->setVisible(m_model.bannerText.has_value());
    m_banner->setText(m_model.bannerText.value_or(QString()));
    m_floatingButton->setText(m_model.floatingActionText);
    setFixedSize(popoverWidth, m_model.height);
    // Keep the reader's place: lay the new content out, then scroll back.
    m_scroll->widget()->adjustSize();
    layout()->activate();
    bar->setValue(scrollValue);
}

void PopoverView::applyColours()
{
    const QColor blue = VantrellPalette::systemBlue(this);
    m_banner->setIcon(SymbolIcon::icon(QStringLiteral("arrow.down.circle.fill"), 12, blue));
    m_banner->setStyleSheet(
        QStringLiteral("QPushButton { color: %1; border: none; padding: 6px; }").arg(blue.name()));
    const QColor ink = VantrellPalette::primary(this);
    for (QPushButton* button : {m_openMain, m_floatingButton}) {
        button->setIcon(SymbolIcon::icon(button->property("symbol").toString(), 14, ink));
    }
}

void PopoverView::changeEvent(QEvent* event)
{
    // Colours drawn into icons and a style sheet follow the window's look.
    if (event->type() == QEvent::PaletteChange) {
        applyColours();
    }
    QWidget::changeEvent(event);
}

void PopoverView::rebuildCards()
{
    while (QLayoutItem* item = m_cards->takeAt(0)) {
        delete item->widget();
        delete item;
    }
    m_shownCards = m_model.cards;
    for (const PopoverModel::ExchangeCard& card : m_model.cards) {
        auto* widget = new PopoverExchangeCard(card);
        m_cards->addWidget(widget);
        widget->show();
    }
}

void PopoverView::bannerClicked()
{
    // The checker does nothing while its updater cannot check; otherwise it reports `checking`
    // first, which hides the banner.
    if (m_updateChecker) {
        m_updateChecker->checkForUpdates();
    }
}

void PopoverView::toggleFloating()
{
    if (m_floating && m_store && m_settings) {
        m_floating->toggle(*m_store, *m_settings);
    }
}

void PopoverView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), VantrellPalette::panel(this));
}

}  // namespace vantrell
