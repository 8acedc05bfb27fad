#pragma once

#include "providers/ExchangeProvider.h"

#include <QString>

#include <memory>

namespace vantrell {

// One account inside a multi-account provider.
struct AccountProviderConnection {
    // The exchange's case name for the main account, the stored account id otherwise; unique
    // within one provider.
    QString id;
    // The name shown in warnings and stamped on the account's positions and balances.
    QString alias;
    std::shared_ptr<const ExchangeProvider> provider;
};

}  // namespace vantrell
