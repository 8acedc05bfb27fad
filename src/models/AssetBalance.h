#pragma once

#include "models/AccountType.h"
#include "models/Decimal.h"
#include "models/Exchange.h"
#include "models/JsonView.h"

#include <QString>

#include <optional>

namespace vantrell {

// One asset held in one account type of one account.
struct AssetBalance {
    std::optional<QString> accountID;
    std::optional<QString> accountAlias;
    Exchange exchange = Exchange::binance;
    AccountType accountType = AccountType::spot;
    QString asset;
    Decimal quantity;
    Decimal valueInUSD;

    // Account id (or the exchange's stored name), account type and asset, no separator.
    QString id() const;

    static AssetBalance fromJson(const JsonView& json);
    JsonValue toJson() const;
    friend bool operator==(const AssetBalance&, const AssetBalance&) = default;
};

}  // namespace vantrell
