#pragma once

#include "views/floating/FloatingViewModel.h"
#include "views/kit/CardFrame.h"

namespace vantrell {

// One exchange's card in the full style of the floating panel: badge and name, the whole
// amount with its daily change below, and the decorative sparkline while the data is not live.
class FloatingExchangeCard : public CardFrame {
    Q_OBJECT

public:
    explicit FloatingExchangeCard(const FloatingViewModel::ExchangeEntry& entry,
                                  QWidget* parent = nullptr);
};

}  // namespace vantrell
