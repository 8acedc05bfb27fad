#include "views/portfolio/OverviewExchangeCard.h"

#include "views/drawing/ExchangeIcon.h"
#include "views/drawing/PortfolioFreshnessDot.h"
#include "views/kit/VantrellPalette.h"
#include "views/kit/ViewFonts.h"
#include "views/portfolio/CompositionBar.h"
#include "views/portfolio/PageLabels.h"
#include "views/portfolio/StatusLabelView.h"

#include <QHBoxLayout>
#include <QPainter>
#include <QVBoxLayout>

namespace vantrell {

namespace {

// The 6 × 6 dot before an account row.
class AccountDot : public QWidget {
public:
    AccountDot() { setFixedSize(6, 6); }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        QColor color = VantrellPalette::primary(this);
        color.setAlphaF(0.55);
        painter.setPen(Qt::NoPen);
        painter.setBrush(color);
        painter.drawEllipse(rect());
    }
};

}  // namespace

OverviewExchangeCard::OverviewExchangeCard(const OverviewModel::ExchangeCard& card,
                                           PortfolioStore& store, QWidget* parent)
    : CardFrame(10, parent)
{
    setObjectName(QStringLiteral("overviewCard.") + caseName(card.exchange));
    if (card.isLive) {
        buildLive(card, store);
    } else {
        buildUnavailable(card);
    }
}

QSize OverviewExchangeCard::sizeHint() const
{
    const QSize hint = CardFrame::sizeHint();
    return {hint.width(), qMax(hint.height(), m_leastHeight)};
}

QSize OverviewExchangeCard::minimumSizeHint() const
{
    const QSize hint = CardFrame::minimumSizeHint();
    return {hint.width(), qMax(hint.height(), m_leastHeight)};
}

void OverviewExchangeCard::buildLive(const OverviewModel::ExchangeCard& card, PortfolioStore& store)
{
    const QString id = caseName(card.exchange);
    m_leastHeight = 160;
    auto* header = new QHBoxLayout;
    header->setSpacing(8);
    header->addWidget(new ExchangeIcon(card.exchange, 25));
    header->addWidget(
        PageLabels::make(card.name, ViewFonts::font(14, QFont::DemiBold), PageLabels::primary()));
    header->addWidget(new PortfolioFreshnessDot(store, card.exchange));
    header->addStretch(1);
    if (card.changeText) {
        header->addWidget(PageLabels::make(*card.changeText, ViewFonts::font(11, QFont::DemiBold),
                                           PageLabels::tint(card.changeTint),
                                           QStringLiteral("overviewCardChange.") + id));
    }
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(11, 11, 11, 11);
    layout->setSpacing(8);
    layout->addLayout(header);
    layout->addWidget(PageLabels::make(card.totalText, ViewFonts::font(18, QFont::DemiBold),
                                       PageLabels::tint(card.totalTint),
                                       QStringLiteral("overviewCardTotal.") + id, 0.7));
    layout->addWidget(new CompositionBar(card.barFractions));
    for (const AccountRow& account : card.accountRows) {
        auto* row = new QHBoxLayout;
        row->addWidget(new AccountDot);
        row->addWidget(
            PageLabels::make(account.type, ViewFonts::font(11), PageLabels::secondary()));
        row->addStretch(1);
        row->addWidget(PageLabels::make(account.value, ViewFonts::font(11), PageLabels::primary()));
        layout->addLayout(row);
    }
    layout->addStretch(1);
}

void OverviewExchangeCard::buildUnavailable(const OverviewModel::ExchangeCard& card)
{
    const QString id = caseName(card.exchange);
    m_leastHeight = 150;
    auto* header = new QHBoxLayout;
    header->addWidget(new ExchangeIcon(card.exchange, 27));
    header->addWidget(
        PageLabels::make(card.name, ViewFonts::font(15, QFont::DemiBold), PageLabels::primary()));
    header->addStretch(1);
    auto* status = new StatusLabelView(card.status, ViewFonts::font(12));
    status->setObjectName(QStringLiteral("overviewCardStatus.") + id);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(11, 11, 11, 11);
    layout->setSpacing(11);
    layout->addLayout(header);
    layout->addWidget(status);
    layout->addWidget(PageLabels::make(OverviewModel::unavailableNote, ViewFonts::font(11),
                                       PageLabels::secondary()));
    layout->addStretch(1);
}

}  // namespace vantrell
