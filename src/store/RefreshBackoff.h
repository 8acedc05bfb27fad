#pragma once

#include "models/Date.h"

#include <optional>

namespace vantrell {

// How long an exchange that keeps failing, or that asked to be left alone, is left out of the
// refresh cycle. The store keeps one per exchange; a fresh value lets every fetch through.
struct RefreshBackoff {
    static constexpr int maximumFailures = 10;
    // Refresh intervals shorter than this still wait this long after a failure.
    static constexpr double shortestBaseDelay = 5;
    static constexpr double longestDelay = 300;
    // The longest wait a server can ask for (the HTTP client keeps Retry-After within it).
    static constexpr double longestServerWait = 3600;

    int failures = 0;
    // Earliest time of the next regular fetch; a forced refresh may come sooner.
    Date nextAttempt = Date::distantPast();
    // Earliest time of any fetch, forced or not: the server asked for this wait.
    Date serverRetryUntil = Date::distantPast();

    // Counts one failure observed at `date`. `interval` is the refresh interval in seconds and
    // `retryAfter` the server's hint in seconds. The delay doubles with each failure from the
    // interval (at least 5 s) up to 300 s; a longer server hint is honoured in full. A
    // non-finite interval or hint counts as absent.
    void failed(Date date, double interval, std::optional<double> retryAfter);

    // Whether the exchange may be fetched at `now`. A forced refresh skips the regular wait but
    // never a wait the server asked for. A wait that ends further ahead than any wait can last
    // was set before the clock went back; it no longer holds, or the exchange would be left out
    // until the clock caught up again.
    bool isEligible(Date now, bool force) const;

    friend bool operator==(const RefreshBackoff&, const RefreshBackoff&) = default;
};

}  // namespace vantrell
