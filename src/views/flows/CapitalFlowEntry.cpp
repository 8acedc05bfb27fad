#include "views/flows/CapitalFlowEntry.h"

#include "settings/DateLabels.h"
#include "store/CapitalFlowLedger.h"

namespace vantrell::CapitalFlowEntry {

std::optional<Decimal> parseAmount(const QString& text)
{
    std::optional<Decimal> amount = Decimal::parse(text);
    if (!amount || *amount <= Decimal(0) || !CapitalFlowLedger::isRecordable(*amount)) {
        return std::nullopt;
    }
    return amount;
}

bool isTooLarge(const QString& text)
{
    const std::optional<Decimal> amount = Decimal::parse(text);
    return amount && *amount > CapitalFlowLedger::largestAmount();
}

Decimal signedAmount(const Decimal& amount, bool isDeposit)
{
    return isDeposit ? amount : -amount;
}

std::vector<CapitalFlow> newestFirst(const std::vector<CapitalFlow>& flows)
{
    return {flows.rbegin(), flows.rend()};
}

QString amountText(const CapitalFlow& flow)
{
    const bool deposit = flow.amountUSD > Decimal(0);
    return (deposit ? depositLabel : withdrawalLabel).toString() + QStringLiteral(" $") +
           flow.amountUSD.abs().toQString();
}

QString dateText(const CapitalFlow& flow, const QLocale& locale, const QTimeZone& timeZone)
{
    return DateLabels::monthDayHourMinute(flow.timestamp, locale, timeZone);
}

}  // namespace vantrell::CapitalFlowEntry
