#pragma once

#include "models/Date.h"
#include "models/Exchange.h"
#include "store/ExchangeRefreshStatus.h"
#include "store/PortfolioRefreshState.h"

#include <QLocale>
#include <QString>
#include <QTimeZone>

#include <vector>

namespace vantrell {

// Whether the exchanges' data is current: the answers behind the freshness dot, its tooltip and
// the rule that history points, alerts and change figures need fresh, complete data. Computed
// afresh at every question from the store's state; nothing is cached.
class PortfolioFreshness {
public:
    // Data may be this old (inclusive) and still count as fresh: three refresh intervals, and
    // never less than 30 seconds.
    static double limitSeconds(double refreshInterval);

    // One exchange: not failed, nothing to warn about, succeeded once, and recently enough. A
    // success dated in the future counts as fresh.
    static bool isFresh(const ExchangeRefreshStatus& status, double refreshInterval, Date now);

    // Every configured exchange is waiting for or has its result, succeeded recently, and its
    // last merged result was complete. False when nothing is configured. Warnings do not count.
    static bool hasFreshCompleteData(const std::vector<Exchange>& configured,
                                     const PortfolioRefreshState& state, double refreshInterval,
                                     Date now);

    // One line per configured exchange: its name, "：", the state text, " · " and the time of
    // its last success, in the given locale and time zone.
    static QString description(const std::vector<Exchange>& configured,
                               const PortfolioRefreshState& state, const QLocale& locale,
                               const QTimeZone& timeZone);

    static QString stateText(const ExchangeRefreshStatus& status);
    // Hours (with the locale's day period where it uses one), minutes and seconds of
    // `lastSuccess`; "尚未更新" without one.
    static QString timeText(const std::optional<Date>& lastSuccess, const QLocale& locale,
                            const QTimeZone& timeZone);
};

}  // namespace vantrell
