#include "store/RefreshBackoff.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <tuple>
#include <vector>

using namespace vantrell;

namespace {

const Date t0{700'000'000};
constexpr double notANumber = std::numeric_limits<double>::quiet_NaN();
constexpr double infinity = std::numeric_limits<double>::infinity();

}  // namespace

TEST(RefreshBackoffTest, DelayDoublesFromTheIntervalUpToFiveMinutes)
{
    const std::vector<std::pair<double, std::vector<double>>> rows{
        {5, {5, 10, 20, 40, 80, 160, 300, 300, 300, 300, 300}},
        {10, {10, 20, 40, 80, 160, 300, 300}},
        {30, {30, 60, 120, 240, 300}},
        {60, {60, 120, 240, 300}},
        {1, {5, 10, 20}},  // short intervals still start from five seconds
        {notANumber, {5, 10}},
        {infinity, {5, 10}},
    };
    for (const auto& [interval, delays] : rows) {
        RefreshBackoff backoff;
        for (std::size_t i = 0; i < delays.size(); ++i) {
            const Date failedAt = t0.addingSeconds(7.0 * static_cast<double>(i));
            backoff.failed(failedAt, interval, std::nullopt);
            EXPECT_EQ(backoff.nextAttempt.secondsSince(failedAt), delays[i])
                << "interval " << interval << ", failure " << i + 1;
        }
        EXPECT_EQ(backoff.failures, std::min<int>(static_cast<int>(delays.size()), 10));
        EXPECT_EQ(backoff.serverRetryUntil, Date::distantPast());
    }
}

TEST(RefreshBackoffTest, ServerHintsLengthenTheWaitAndAreNeverShortened)
{
    struct Row {
        std::optional<double> first;   // at t0, failure 1 (delay 10)
        std::optional<double> second;  // at t0 + 10, failure 2 (delay 20), if any
        double wait;                   // after the last failure
        double serverWait;             // serverRetryUntil - t0; NaN: unchanged
    };
    const std::vector<Row> rows{
        {120.0, {}, 120, 120},
        {900.0, {}, 900, 900},
        {3.0, {}, 10, 3},
        {0.0, {}, 10, notANumber},
        {-30.0, {}, 10, notANumber},
        {infinity, {}, 10, notANumber},
        {notANumber, {}, 10, notANumber},
        {120.0, 30.0, 30, 120},
        {120.0, 200.0, 200, 210},
    };
    for (const Row& row : rows) {
        RefreshBackoff backoff;
        backoff.failed(t0, 10, row.first);
        const Date last = row.second ? t0.addingSeconds(10) : t0;
        if (row.second) {
            backoff.failed(last, 10, row.second);
        }
        const auto name =
            ::testing::PrintToString(row.first) + " " + ::testing::PrintToString(row.second);
        EXPECT_EQ(backoff.nextAttempt.secondsSince(last), row.wait) << name;
        const Date server = std::isnan(row.serverWait) ? Date::distantPast()
                                                       : t0.addingSeconds(row.serverWait);
        EXPECT_EQ(backoff.serverRetryUntil, server) << name;
    }

    // A broken clock reading counts the failure but leaves the times alone.
    RefreshBackoff backoff;
    backoff.failed(t0, 10, 60.0);
    const RefreshBackoff before = backoff;
    backoff.failed(Date{notANumber}, 10, 60.0);
    EXPECT_EQ(backoff.failures, 2);
    EXPECT_EQ(backoff.nextAttempt, before.nextAttempt);
    EXPECT_EQ(backoff.serverRetryUntil, before.serverRetryUntil);
}

TEST(RefreshBackoffTest, ForcedRefreshSkipsTheRegularWaitButNotTheServerWait)
{
    EXPECT_TRUE(RefreshBackoff{}.isEligible(t0, false));
    RefreshBackoff backoff;
    backoff.failed(t0, 10, 120.0);
    backoff.nextAttempt = t0.addingSeconds(200);
    // {seconds after t0, forced, eligible}
    const std::vector<std::tuple<double, bool, bool>> rows{
        {60, true, false},   {119.9, true, false},  {120, true, true},
        {120, false, false}, {199.9, false, false}, {200, false, true},
    };
    for (const auto& [at, force, eligible] : rows) {
        EXPECT_EQ(backoff.isEligible(t0.addingSeconds(at), force), eligible) << at << force;
    }
}

// Waits set while the clock ran far ahead must not shut the exchange out once the clock is put
// right; ordinary waits, even the longest a server can ask for, still hold.
TEST(RefreshBackoffTest, ClockPutBackDoesNotStretchTheWait)
{
    const Date yearAhead = t0.addingSeconds(365 * 86400.0);
    RefreshBackoff backoff;
    backoff.failed(yearAhead, 10, 120.0);
    EXPECT_FALSE(backoff.isEligible(yearAhead.addingSeconds(60), true));
    EXPECT_TRUE(backoff.isEligible(t0, false));
    EXPECT_TRUE(backoff.isEligible(t0, true));

    RefreshBackoff longest;
    longest.failed(t0, 10, 1e9);  // a hint beyond the longest wait counts as the longest
    EXPECT_EQ(longest.serverRetryUntil, t0.addingSeconds(RefreshBackoff::longestServerWait));
    EXPECT_FALSE(longest.isEligible(t0, true));
    EXPECT_FALSE(longest.isEligible(t0.addingSeconds(3599), true));
    EXPECT_TRUE(longest.isEligible(t0.addingSeconds(3600), false));
}
