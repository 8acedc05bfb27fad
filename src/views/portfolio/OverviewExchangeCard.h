#pragma once

#include "views/kit/CardFrame.h"
#include "views/portfolio/OverviewModel.h"

namespace vantrell {

class PortfolioStore;

// One exchange on the overview: its total, change, composition bar and account rows (at least
// 160 high, growing to its content), or, without data, the reason why there is none.
class OverviewExchangeCard : public CardFrame {
    Q_OBJECT

public:
    OverviewExchangeCard(const OverviewModel::ExchangeCard& card, PortfolioStore& store,
                         QWidget* parent = nullptr);

    // At least the card's height, more where its content needs it. The least height is a
    // hint, not a fixed minimum, so a scrolling page that lays its cards out at their least
    // height still gives each card its content.
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

private:
    void buildLive(const OverviewModel::ExchangeCard& card, PortfolioStore& store);
    void buildUnavailable(const OverviewModel::ExchangeCard& card);

    int m_leastHeight = 0;
};

}  // namespace vantrell
