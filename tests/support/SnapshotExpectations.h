#pragma once

#include "models/AccountType.h"
#include "models/AssetBalance.h"
#include "models/Decimal.h"
#include "models/Exchange.h"
#include "models/ExchangeProviderSnapshot.h"
#include "models/Position.h"
#include "models/PositionSide.h"

#include <gtest/gtest.h>

namespace vantrell::test {

// What connector tests expect of a snapshot, written as briefly as the recorded replies.

// A decimal written as text; text that is no decimal fails the running test.
Decimal dec(const char* text);

// The balance row a connector of `exchange` lists, amounts as text:
//     constexpr test::BalanceRow row{Exchange::okx};
//     row(AccountType::funding, "USDT", "1000.5", "1000.5")
struct BalanceRow {
    Exchange exchange;

    AssetBalance operator()(AccountType type, const char* asset, const char* quantity,
                            const char* value) const;
};

// The position a connector of `exchange` lists, every amount as text.
struct PositionRow {
    Exchange exchange;

    Position operator()(const char* symbol, PositionSide side, const char* quantity,
                        const char* entry, const char* mark, const char* profit,
                        const char* percent, const char* notional) const;
};

// Whether a snapshot is what one account read in full gives: nothing missing or unavailable, no
// warning, not cached, not split into components and no retry time. The failure names every
// mark it found.
::testing::AssertionResult isFreshAndWhole(const ExchangeProviderSnapshot& snapshot);

}  // namespace vantrell::test
