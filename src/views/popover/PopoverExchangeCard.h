#pragma once

#include "views/kit/CardFrame.h"
#include "views/popover/PopoverModel.h"

namespace vantrell {

class PortfolioStore;

// One exchange's card in the popover: its total, change and account rows with a failure or
// configuration line, or, without data, the reason why there is none.
class PopoverExchangeCard : public CardFrame {
    Q_OBJECT

public:
    explicit PopoverExchangeCard(const PopoverModel::ExchangeCard& card, QWidget* parent = nullptr);

private:
    void buildWithData(const PopoverModel::ExchangeCard& card);
    void buildWithoutData(const PopoverModel::ExchangeCard& card);
};

}  // namespace vantrell
