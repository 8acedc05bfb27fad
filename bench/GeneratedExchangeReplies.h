#pragma once

// Made-up replies for one account on each of the five exchanges, shaped like the real ones:
// every field a real row carries, the spot ticker list of a large exchange, and an account whose
// balances are all priced (most through the USDT pair, every fifth asset through the BTC pair
// and the bridge, USDT itself as a stablecoin). The same bytes on every run.
//
// Keyed like RecordedTransport looks them up: by path alone, or by path and query where two
// calls share a path.

#include "BenchTransport.h"

namespace vantrell::bench::generated {

constexpr int tickersPerExchange = 3000;
// What each account's snapshot holds, all account types together.
constexpr int balancesPerAccount = 50;
constexpr int positionsPerAccount = 20;

RecordedReplies binanceReplies();
RecordedReplies okxReplies();
RecordedReplies bybitReplies();
// The unified account's calls only: they answer, so the classic ones are never made.
RecordedReplies bitgetReplies();
RecordedReplies gateReplies();

// Every body one refresh of all five accounts reads, each read once.
RecordedReplies fiveExchangeReplies();

}  // namespace vantrell::bench::generated
