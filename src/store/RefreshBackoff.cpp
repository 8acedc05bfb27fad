#include "store/RefreshBackoff.h"

#include <algorithm>
#include <cmath>

namespace vantrell {

void RefreshBackoff::failed(Date date, double interval, std::optional<double> retryAfter)
{
    failures = std::min(failures + 1, maximumFailures);
    // An infinite or NaN hint would block the exchange for good or make every comparison
    // false; it can only come from a fault upstream, so it is ignored.
    if (retryAfter && !std::isfinite(*retryAfter)) {
        retryAfter.reset();
    }
    if (retryAfter) {
        retryAfter = std::min(*retryAfter, longestServerWait);
    }
    const double base =
        std::isfinite(interval) && interval > shortestBaseDelay ? interval : shortestBaseDelay;
    const double delay = std::min(std::ldexp(base, failures - 1), longestDelay);
    const double wait = std::max(delay, retryAfter.value_or(0));
    // A broken clock reading must not turn the stored times into NaN.
    if (!std::isfinite(date.secondsSinceReferenceDate)) {
        return;
    }
    nextAttempt = date.addingSeconds(wait);
    if (retryAfter && *retryAfter > 0) {
        serverRetryUntil = std::max(serverRetryUntil, date.addingSeconds(*retryAfter));
    }
}

bool RefreshBackoff::isEligible(Date now, bool force) const
{
    const auto holds = [now](Date until) {
        return now < until && until.secondsSinceReferenceDate - now.secondsSinceReferenceDate <=
                                  std::max(longestDelay, longestServerWait);
    };
    return !holds(serverRetryUntil) && (force || !holds(nextAttempt));
}

}  // namespace vantrell
