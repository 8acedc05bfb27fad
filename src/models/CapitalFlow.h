#pragma once

#include "models/Date.h"
#include "models/Decimal.h"
#include "models/JsonView.h"
#include "models/Uuid.h"

namespace vantrell {

// Money the user moved into (positive) or out of (negative) the tracked accounts.
struct CapitalFlow {
    Uuid id = Uuid::random();
    Date timestamp;
    Decimal amountUSD;

    // All three keys are required; a record without "id" does not get a new one.
    static CapitalFlow fromJson(const JsonView& json);
    JsonValue toJson() const;
    friend bool operator==(const CapitalFlow&, const CapitalFlow&) = default;
};

}  // namespace vantrell
