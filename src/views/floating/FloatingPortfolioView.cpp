#include "views/floating/FloatingPortfolioView.h"

#include "settings/AppSettings.h"
#include "store/PortfolioStore.h"
#include "views/drawing/ExchangeIcon.h"
#include "views/floating/FloatingExchangeCard.h"
#include "views/kit/FitLabel.h"
#include "views/kit/SymbolIcon.h"
#include "views/kit/VantrellPalette.h"
#include "views/kit/ViewFonts.h"

#include <QEnterEvent>
#include <QHBoxLayout>
#include <QPainter>
#include <QPainterPath>
#include <QToolButton>
#include <QVBoxLayout>

namespace vantrell {

namespace {

struct StyleSpacing {
    int spacing;
    int padding;
};

StyleSpacing spacingOf(FloatingDisplayStyle style)
{
    switch (style) {
        case FloatingDisplayStyle::compact:
            return {7, 9};
        case FloatingDisplayStyle::transparent:
            return {6, 6};
        case FloatingDisplayStyle::full:
            break;
    }
    return {9, 11};
}

FitLabel* tinted(const QString& text, const QFont& font, qreal minimumScale, ChangeTint tint,
                 const QString& name)
{
    auto* label = new FitLabel(font, minimumScale);
    label->setObjectName(name);
    label->setText(text);
    label->setColorProvider([tint](const QWidget* w) { return changeTintColor(tint, w); });
    return label;
}

}  // namespace

FloatingPortfolioView::FloatingPortfolioView(PortfolioStore& store, AppSettings& settings,
                                             QWidget* parent)
    : QWidget(parent), m_store(&store), m_settings(&settings)
{
    setObjectName(QStringLiteral("floatingPortfolioView"));
    setAttribute(Qt::WA_Hover);
    new QVBoxLayout(this);
    layout()->setContentsMargins(0, 0, 0, 0);
    for (auto signal :
         {&PortfolioStore::snapshotChanged, &PortfolioStore::exchangeStatusesChanged,
          &PortfolioStore::todayPnLChanged, &PortfolioStore::todayChangePercentChanged,
          &PortfolioStore::twentyFourHourPnLChanged,
          &PortfolioStore::twentyFourHourChangePercentChanged}) {
        connect(&store, signal, this, &FloatingPortfolioView::scheduleRender);
    }
    for (auto signal :
         {&AppSettings::floatingStyleChanged, &AppSettings::appearanceChanged,
          &AppSettings::displayCurrencyChanged, &AppSettings::performancePeriodChanged,
          &AppSettings::currencyRatesChanged}) {
        connect(&settings, signal, this, &FloatingPortfolioView::scheduleRender);
    }
    render();
}

void FloatingPortfolioView::scheduleRender()
{
    m_coalescedRender.schedule();
}

void FloatingPortfolioView::render()
{
    if (m_store && m_settings) {
        render(FloatingViewModel::make(*m_store, *m_settings));
    }
}

void FloatingPortfolioView::render(const FloatingViewModel& model)
{
    m_coalescedRender.clear();
    m_model = model;
    if (m_content != nullptr) {
        delete m_content;
    }
    m_closeButton = nullptr;
    switch (model.style) {
        case FloatingDisplayStyle::full:
            m_content = buildFull();
            break;
        case FloatingDisplayStyle::compact:
            m_content = buildCompact();
            break;
        case FloatingDisplayStyle::transparent:
            m_content = buildTransparent();
            break;
    }
    const StyleSpacing spacing = spacingOf(model.style);
    m_content->layout()->setContentsMargins(spacing.padding, spacing.padding, spacing.padding,
                                            spacing.padding);
    m_content->layout()->setSpacing(spacing.spacing);
    layout()->addWidget(m_content);
    m_content->show();
    update();
}

QBoxLayout* FloatingPortfolioView::totalSummary(int totalSize, int summarySize)
{
    auto* row = new QHBoxLayout;
    row->setSpacing(6);
    row->addWidget(tinted(m_model.total, ViewFonts::font(totalSize, QFont::DemiBold), 0.75,
                          m_model.totalTint, QStringLiteral("floatingTotal")),
                   0, Qt::AlignBottom);
    if (m_model.summary) {
        auto* summary = tinted(*m_model.summary, ViewFonts::font(summarySize, QFont::Medium), 0.7,
                               m_model.summaryTint, QStringLiteral("floatingSummary"));
        summary->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
        row->addWidget(summary, 1, Qt::AlignBottom);
    }
    return row;
}

QToolButton* FloatingPortfolioView::closeButton()
{
    auto* button = new QToolButton;
    button->setObjectName(QStringLiteral("floatingCloseButton"));
    button->setAutoRaise(true);
    button->setFocusPolicy(Qt::NoFocus);
    button->setIconSize(QSize(11, 11));
    button->setToolTip(QStringLiteral("关闭悬浮窗"));
    button->setStyleSheet(QStringLiteral("QToolButton { border: none; padding: 1px; }"));
    connect(button, &QToolButton::clicked, this, &FloatingPortfolioView::closeRequested);
    m_closeButton = button;
    updateCloseIcon();
    return button;
}

void FloatingPortfolioView::updateCloseIcon()
{
    if (m_closeButton != nullptr) {
        m_closeButton->setIcon(SymbolIcon::icon(QStringLiteral("xmark.circle.fill"), 11,
                                                VantrellPalette::secondary(this)));
    }
}

QWidget* FloatingPortfolioView::buildFull()
{
    auto* content = new QWidget;
    content->setObjectName(QStringLiteral("floatingContent.full"));
    auto* header = new QHBoxLayout;
    header->setSpacing(8);
    QBoxLayout* summary = totalSummary(18, 9);
    header->addLayout(summary, 1);
    header->addSpacing(4);
    header->addWidget(closeButton(), 0, Qt::AlignTop);

    auto* cards = new QHBoxLayout;
    cards->setSpacing(8);
    for (const FloatingViewModel::ExchangeEntry& entry : m_model.entries) {
        cards->addWidget(new FloatingExchangeCard(entry), 1);
    }
    // The stack is centred in the panel, as in the compact style.
    auto* layout = new QVBoxLayout(content);
    layout->addStretch(1);
    layout->addLayout(header);
    layout->addLayout(cards);
    layout->addStretch(1);
    return content;
}

QWidget* FloatingPortfolioView::buildCompact()
{
    auto* content = new QWidget;
    content->setObjectName(QStringLiteral("floatingContent.compact"));
    auto* header = new QHBoxLayout;
    header->setSpacing(6);
    header->addLayout(totalSummary(14, 8), 1);
    header->addSpacing(2);
    header->addWidget(closeButton(), 0, Qt::AlignTop);

    auto* entries = new QHBoxLayout;
    entries->setSpacing(10);
    for (const FloatingViewModel::ExchangeEntry& entry : m_model.entries) {
        const QString id = caseName(entry.exchange);
        auto* item = new QWidget;
        item->setObjectName(QStringLiteral("floatingEntry.") + id);
        item->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
        auto* row = new QHBoxLayout(item);
        row->setContentsMargins(0, 0, 0, 0);
        row->setSpacing(5);
        row->addWidget(new ExchangeIcon(entry.exchange, 14));
        row->addWidget(tinted(entry.amount, ViewFonts::font(10, QFont::Medium), 1.0,
                              entry.amountTint, QStringLiteral("floatingEntryAmount.") + id),
                       1);
        entries->addWidget(item, 1);
    }
    auto* layout = new QVBoxLayout(content);
    layout->addStretch(1);
    layout->addLayout(header);
    layout->addLayout(entries);
    layout->addStretch(1);
    return content;
}

QWidget* FloatingPortfolioView::buildTransparent()
{
    auto* content = new QWidget;
    content->setObjectName(QStringLiteral("floatingContent.transparent"));
    auto* layout = new QHBoxLayout(content);
    layout->addWidget(tinted(m_model.total, ViewFonts::font(13, QFont::DemiBold), 0.8,
                             m_model.totalTint, QStringLiteral("floatingTotal")),
                      0, Qt::AlignVCenter);
    if (m_model.summary) {
        auto* percent = tinted(*m_model.summary, ViewFonts::font(8, QFont::Medium), 1.0,
                               m_model.summaryTint, QStringLiteral("floatingSummary"));
        layout->addWidget(percent, 0, Qt::AlignVCenter);
    }
    layout->addStretch(1);
    QToolButton* close = closeButton();
    // Invisible until the pointer is over the panel, but it keeps its place meanwhile.
    QSizePolicy policy = close->sizePolicy();
    policy.setRetainSizeWhenHidden(true);
    close->setSizePolicy(policy);
    close->setVisible(m_isHovering);
    layout->addWidget(close, 0, Qt::AlignVCenter);
    return content;
}

void FloatingPortfolioView::paintEvent(QPaintEvent*)
{
    if (m_model.style == FloatingDisplayStyle::transparent) {
        return;
    }
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    QPainterPath shape;
    shape.addRoundedRect(QRectF(rect()), cornerRadius, cornerRadius);
    painter.fillPath(shape, VantrellPalette::panel(this));
}

void FloatingPortfolioView::changeEvent(QEvent* event)
{
    // The window's look changed: the icon's secondary colour is drawn into its pixmap.
    if (event->type() == QEvent::PaletteChange) {
        updateCloseIcon();
    }
    QWidget::changeEvent(event);
}

void FloatingPortfolioView::enterEvent(QEnterEvent* event)
{
    setHovering(true);
    QWidget::enterEvent(event);
}

void FloatingPortfolioView::leaveEvent(QEvent* event)
{
    setHovering(false);
    QWidget::leaveEvent(event);
}

void FloatingPortfolioView::setHovering(bool hovering)
{
    m_isHovering = hovering;
    if (m_closeButton != nullptr && m_model.style == FloatingDisplayStyle::transparent) {
        m_closeButton->setVisible(hovering);
    }
}

}  // namespace vantrell
