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

private:
    void buildLive(const OverviewModel::ExchangeCard& card, PortfolioStore& store);
    void buildUnavailable(const OverviewModel::ExchangeCard& card);
};

}  // namespace vantrell
