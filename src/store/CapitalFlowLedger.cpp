#include "store/CapitalFlowLedger.h"

#include <algorithm>

namespace vantrell {

namespace {

void sortByTime(std::vector<CapitalFlow>& flows)
{
    std::stable_sort(flows.begin(), flows.end(), [](const CapitalFlow& a, const CapitalFlow& b) {
        return a.timestamp < b.timestamp;
    });
}

}  // namespace

CapitalFlowLedger::CapitalFlowLedger(std::vector<CapitalFlow> flows) : m_flows(std::move(flows))
{
    sortByTime(m_flows);
}

Decimal CapitalFlowLedger::largestAmount()
{
    return Decimal(1'000'000'000'000'000LL);
}

bool CapitalFlowLedger::isRecordable(const Decimal& amountUSD)
{
    return !amountUSD.isZero() && amountUSD.abs() <= largestAmount();
}

bool CapitalFlowLedger::add(const Decimal& amountUSD, Date date, Date now)
{
    // A Decimal is always a number, so "not a number" cannot reach this point.
    if (!isRecordable(amountUSD) || date > now) {
        return false;
    }
    CapitalFlow flow;
    flow.timestamp = date;
    flow.amountUSD = amountUSD;
    m_flows.push_back(std::move(flow));
    sortByTime(m_flows);
    return true;
}

bool CapitalFlowLedger::remove(const Uuid& id)
{
    return std::erase_if(m_flows, [&id](const CapitalFlow& flow) { return flow.id == id; }) > 0;
}

}  // namespace vantrell
