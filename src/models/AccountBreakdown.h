#pragma once

#include "models/AccountType.h"
#include "models/Decimal.h"
#include "models/JsonView.h"

namespace vantrell {

// The value of one account type of one exchange. Its identity is `type`.
struct AccountBreakdown {
    AccountType type = AccountType::spot;
    Decimal value;

    AccountType id() const { return type; }

    static AccountBreakdown fromJson(const JsonView& json);
    JsonValue toJson() const;
    friend bool operator==(const AccountBreakdown&, const AccountBreakdown&) = default;
};

}  // namespace vantrell
