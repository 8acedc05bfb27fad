#include "views/popover/PopoverExchangeCard.h"

#include "views/drawing/ExchangeIcon.h"
#include "views/kit/ViewFonts.h"
#include "views/portfolio/PageLabels.h"
#include "views/portfolio/StatusLabelView.h"

#include <QHBoxLayout>
#include <QVBoxLayout>

namespace vantrell {

PopoverExchangeCard::PopoverExchangeCard(const PopoverModel::ExchangeCard& card, QWidget* parent)
    : CardFrame(10, parent)
{
    setObjectName(QStringLiteral("popoverCard.") + caseName(card.exchange));
    if (card.hasData) {
        buildWithData(card);
    } else {
        buildWithoutData(card);
    }
}

void PopoverExchangeCard::buildWithData(const PopoverModel::ExchangeCard& card)
{
    const QString id = caseName(card.exchange);
    auto* title = new QHBoxLayout;
    title->setSpacing(7);
    title->addWidget(PageLabels::make(card.name, ViewFonts::font(14, QFont::DemiBold),
                                      PageLabels::primary(),
                                      QStringLiteral("popoverCardName.") + id));
    title->addStretch(1);
    title->addWidget(PageLabels::make(card.totalText, ViewFonts::font(13, QFont::Medium),
                                      PageLabels::tint(card.totalTint),
                                      QStringLiteral("popoverCardTotal.") + id));
    if (card.changeText) {
        title->addWidget(PageLabels::make(*card.changeText, ViewFonts::font(10, QFont::Medium),
                                          PageLabels::tint(card.changeTint),
                                          QStringLiteral("popoverCardChange.") + id));
    }
    auto* column = new QVBoxLayout;
    column->setSpacing(5);
    column->addLayout(title);
    for (const AccountRow& account : card.accountRows) {
        auto* row = new QHBoxLayout;
        row->addWidget(
            PageLabels::make(account.type, ViewFonts::font(11), PageLabels::secondary()));
        row->addStretch(1);
        row->addWidget(
            PageLabels::make(account.value, ViewFonts::font(11), PageLabels::secondary()));
        column->addLayout(row);
    }
    if (card.status) {
        auto* status = new StatusLabelView(*card.status, ViewFonts::font(11));
        status->setObjectName(QStringLiteral("popoverCardStatus.") + id);
        column->addWidget(status);
    }
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(9, 7, 9, 7);
    layout->setSpacing(9);
    auto* icon = new ExchangeIcon(card.exchange, 25);
    layout->addWidget(icon, 0, Qt::AlignTop);
    layout->addLayout(column, 1);
    icon->setContentsMargins(0, 1, 0, 0);
}

void PopoverExchangeCard::buildWithoutData(const PopoverModel::ExchangeCard& card)
{
    const QString id = caseName(card.exchange);
    auto* column = new QVBoxLayout;
    column->setSpacing(3);
    column->addWidget(PageLabels::make(card.name, ViewFonts::font(14, QFont::DemiBold),
                                       PageLabels::secondary(),
                                       QStringLiteral("popoverCardName.") + id));
    auto* status = new StatusLabelView(card.status.value_or(StatusLabel{}), ViewFonts::font(11));
    status->setObjectName(QStringLiteral("popoverCardStatus.") + id);
    column->addWidget(status);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(10, 8, 10, 8);
    layout->setSpacing(10);
    layout->addWidget(new ExchangeIcon(card.exchange, 26), 0, Qt::AlignVCenter);
    layout->addLayout(column, 1);
}

}  // namespace vantrell
