#include "views/popover/PopoverHeader.h"

#include "views/drawing/PortfolioFreshnessDot.h"
#include "views/kit/FitLabel.h"
#include "views/kit/SymbolIcon.h"
#include "views/kit/VantrellPalette.h"
#include "views/kit/ViewFonts.h"
#include "views/portfolio/PageLabels.h"

#include <QEvent>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QPainter>
#include <QToolButton>
#include <QVBoxLayout>
#include <QVariantAnimation>

namespace vantrell {

namespace {

constexpr int buttonSize = 25;
constexpr int symbolSize = 12;

QPixmap rotated(const QPixmap& source, qreal angle)
{
    QPixmap out(source.size());
    out.setDevicePixelRatio(source.devicePixelRatio());
    out.fill(Qt::transparent);
    QPainter painter(&out);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    const QSizeF size = QSizeF(source.size()) / source.devicePixelRatio();
    painter.translate(size.width() / 2, size.height() / 2);
    painter.rotate(angle);
    painter.drawPixmap(QPointF(-size.width() / 2, -size.height() / 2), source);
    return out;
}

}  // namespace

PopoverHeader::PopoverHeader(PortfolioStore& store, QWidget* parent)
    : QWidget(parent),
      m_title(PageLabels::make({}, ViewFonts::font(12, QFont::Medium), PageLabels::secondary(),
                               QStringLiteral("popoverTitle"))),
      m_dot(new PortfolioFreshnessDot(store)),
      m_notConnected(PageLabels::make(PopoverModel::notConnectedText,
                                      ViewFonts::font(8, QFont::DemiBold), PageLabels::secondary(),
                                      QStringLiteral("popoverNotConnected"))),
      m_time(PageLabels::make({}, ViewFonts::font(9), PageLabels::secondary(),
                              QStringLiteral("popoverTime"))),
      m_refresh(headerButton(QStringLiteral("arrow.clockwise"), PopoverModel::refreshTooltip,
                             QStringLiteral("popoverRefreshButton"))),
      m_settings(headerButton(QStringLiteral("gearshape"), PopoverModel::settingsTooltip,
                              QStringLiteral("popoverSettingsButton"))),
      m_quit(headerButton(QStringLiteral("power"), PopoverModel::quitTooltip,
                          QStringLiteral("popoverQuitButton"))),
      m_total(PageLabels::make({}, ViewFonts::font(24, QFont::DemiBold), PageLabels::primary(),
                               QStringLiteral("popoverTotal"), 0.78)),
      m_periodLine(PageLabels::make({}, ViewFonts::font(10, QFont::Medium), PageLabels::primary(),
                                    QStringLiteral("popoverPeriodLine"), 0.72)),
      m_totalRow(new QHBoxLayout),
      m_spin(new QVariantAnimation(this))
{
    setObjectName(QStringLiteral("popoverHeader"));
    QFont mono = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    mono.setPixelSize(9);
    m_time->setFont(mono);
    auto* titleRow = new QHBoxLayout;
    titleRow->setSpacing(6);
    titleRow->addWidget(m_title);
    titleRow->addWidget(m_dot);
    titleRow->addWidget(m_notConnected);
    titleRow->addStretch(1);
    titleRow->addSpacing(4);
    titleRow->addWidget(m_time);
    auto* buttons = new QHBoxLayout;
    buttons->setSpacing(0);
    for (QToolButton* button : {m_refresh, m_settings, m_quit}) {
        buttons->addWidget(button);
    }
    titleRow->addLayout(buttons);

    // The period line follows the total; the spacer takes what is left.
    m_totalRow->setSpacing(9);
    m_totalRow->addWidget(m_total, 0, Qt::AlignBottom);
    m_totalRow->addWidget(m_periodLine, 0, Qt::AlignBottom);
    m_totalRow->addStretch(1);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(16, 12, 16, 9);
    layout->setSpacing(7);
    layout->addLayout(titleRow);
    layout->addLayout(m_totalRow);

    m_spin->setStartValue(0.0);
    m_spin->setEndValue(360.0);
    m_spin->setDuration(600);
    m_spin->setLoopCount(-1);
    connect(m_spin, &QVariantAnimation::valueChanged, this, [this](const QVariant& value) {
        m_angle = value.toReal();
        paintIcons();
    });
    connect(m_refresh, &QToolButton::clicked, this, &PopoverHeader::refreshClicked);
    connect(m_settings, &QToolButton::clicked, this, &PopoverHeader::settingsClicked);
    connect(m_quit, &QToolButton::clicked, this, &PopoverHeader::quitClicked);
    paintIcons();
}

QToolButton* PopoverHeader::headerButton(const QString& symbol, const QString& tip,
                                         const QString& name)
{
    auto* button = new QToolButton;
    button->setObjectName(name);
    button->setProperty("symbol", symbol);
    button->setToolTip(tip);
    button->setAutoRaise(true);
    button->setFixedSize(buttonSize, buttonSize);
    button->setIconSize(QSize(symbolSize, symbolSize));
    button->setFocusPolicy(Qt::NoFocus);
    return button;
}

void PopoverHeader::setModel(const PopoverModel& model)
{
    m_title->setText(model.title);
    m_notConnected->setVisible(model.showsNotConnected);
    m_time->setText(model.timeText);
    m_dot->refresh();
    m_total->setText(model.totalText);
    m_total->setColorProvider(PageLabels::tint(model.totalTint));
    m_periodLine->setVisible(model.periodLine.has_value());
    m_periodLine->setText(model.periodLine.value_or(QString()));
    m_periodLine->setColorProvider(PageLabels::tint(model.periodLineTint));
    m_refresh->setEnabled(!model.isRefreshing);
    setSpinning(model.isRefreshing);
    keepTotalWhole();
}

// The total has the row first: it keeps its whole width (as far as the row allows, with room
// for the period line's ellipsis) and only the period line shrinks.
void PopoverHeader::keepTotalWhole()
{
    const QMargins margins = layout()->contentsMargins();
    int room = width() - margins.left() - margins.right();
    if (m_periodLine->isVisibleTo(this)) {
        room -= m_totalRow->spacing() + m_periodLine->minimumSizeHint().width();
    }
    m_total->setMinimumWidth(qMax(0, qMin(m_total->sizeHint().width(), room)));
}

void PopoverHeader::resizeEvent(QResizeEvent* event)
{
    keepTotalWhole();
    QWidget::resizeEvent(event);
}

void PopoverHeader::setSpinning(bool spinning)
{
    const bool running = m_spin->state() == QAbstractAnimation::Running;
    if (spinning && !running) {
        m_spin->start();
    } else if (!spinning && running) {
        m_spin->stop();
        m_angle = 0;
        paintIcons();
    }
}

void PopoverHeader::paintIcons()
{
    const QColor ink = VantrellPalette::secondary(this);
    for (QToolButton* button : {m_refresh, m_settings, m_quit}) {
        QPixmap pixmap = SymbolIcon::pixmap(button->property("symbol").toString(), symbolSize, ink,
                                            devicePixelRatioF());
        if (button == m_refresh && m_angle != 0) {
            pixmap = rotated(pixmap, m_angle);
        }
        QIcon icon(pixmap);
        // A disabled refresh button keeps its symbol readable while it turns.
        icon.addPixmap(pixmap, QIcon::Disabled);
        button->setIcon(icon);
    }
}

void PopoverHeader::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::PaletteChange) {
        paintIcons();
    }
    QWidget::changeEvent(event);
}

}  // namespace vantrell
