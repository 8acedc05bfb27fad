#pragma once

#include "models/CapitalFlow.h"
#include "models/Date.h"
#include "models/Decimal.h"
#include "models/Uuid.h"

#include <vector>

namespace vantrell {

// The deposits and withdrawals the user recorded by hand, oldest first; flows with equal times
// keep the order in which they were entered. They never expire.
class CapitalFlowLedger {
public:
    CapitalFlowLedger() = default;
    // Sorts the given flows by time, keeping the order of equal times.
    explicit CapitalFlowLedger(std::vector<CapitalFlow> flows);

    // The largest amount in or out a flow may hold, 10^15 US dollars: far beyond any real
    // transfer, yet its plain digits always read back from the history file (the JSON reader
    // refuses numbers beyond the double range) and every figure made from flows stays a finite
    // double for display.
    static Decimal largestAmount();
    // Whether a flow of this amount can be recorded: not zero, and at most `largestAmount()`
    // either way.
    static bool isRecordable(const Decimal& amountUSD);

    const std::vector<CapitalFlow>& flows() const { return m_flows; }

    // Records a flow with a new id. An amount that is not recordable or a date after `now` is
    // not a flow and is ignored; returns whether it was recorded.
    bool add(const Decimal& amountUSD, Date date, Date now);
    // Removes every flow with this id; returns whether one was there.
    bool remove(const Uuid& id);

private:
    std::vector<CapitalFlow> m_flows;
};

}  // namespace vantrell
