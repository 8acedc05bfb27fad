#pragma once

#include "models/Exchange.h"
#include "models/JsonValue.h"
#include "models/JsonView.h"

#include <QString>

namespace vantrell {

// An exchange account besides the exchange's main one. Its credentials live under
// "credential.extra.<id>.<field>"; the list of these records is stored as one JSON array.
struct AdditionalExchangeAccount {
    QString id;  // upper-case UUID text for accounts made by this program
    Exchange exchange = Exchange::binance;
    QString alias;  // the name shown for the account

    // A fresh id: 36 upper-case hexadecimal digits and hyphens.
    static QString newID();

    // {"id", "exchange", "alias"}: all three required; the exchange as its stored value
    // ("Gate.io", never "Gate"). Throws JsonDecodeError otherwise.
    static AdditionalExchangeAccount fromJson(const JsonView& value);
    JsonValue toJson() const;

    friend bool operator==(const AdditionalExchangeAccount&,
                           const AdditionalExchangeAccount&) = default;
};

}  // namespace vantrell
