#include "models/AssetChartScale.h"
#include "models/ChartSampling.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

using namespace vantrell;

namespace {

// Samples one second apart with the given values; an optional list of times overrides that.
std::vector<PortfolioTrendSample> series(const std::vector<int>& values,
                                         const std::vector<double>& times = {})
{
    std::vector<PortfolioTrendSample> samples;
    for (std::size_t i = 0; i < values.size(); ++i) {
        const double time = times.empty() ? static_cast<double>(i) : times[i];
        samples.push_back({Date{time}, Decimal(values[i])});
    }
    return samples;
}

// The positions (by timestamp) of the samples that survived.
std::vector<double> times(const std::vector<PortfolioTrendSample>& samples)
{
    std::vector<double> result;
    for (const auto& sample : samples) {
        result.push_back(sample.timestamp.secondsSinceReferenceDate);
    }
    return result;
}

}  // namespace

TEST(ChartSamplingTest, ShortHistoriesAndSmallLimitsAreReturnedUnchanged)
{
    const auto tenThousand = series(std::vector<int>(10000, 7));
    EXPECT_EQ(ChartSampling::reduce(tenThousand, 3), tenThousand);
    const auto fiveHundred = series(std::vector<int>(500, 7));
    EXPECT_EQ(ChartSampling::reduce(fiveHundred, 500), fiveHundred);
    EXPECT_TRUE(ChartSampling::reduce({}, 500).empty());
}

TEST(ChartSamplingTest, OneBucketKeepsItsExtremesBetweenTheEnds)
{
    // Limit 4, 5 samples: one bucket over positions 1..3 with its minimum at 1, maximum at 3.
    EXPECT_EQ(times(ChartSampling::reduce(series({50, 10, 20, 30, 40}), 4)),
              (std::vector<double>{0, 1, 3, 4}));
}

TEST(ChartSamplingTest, BucketBoundsSplitTheInterior)
{
    // Limit 6, 10 samples: buckets 1..4 and 5..8. Each value marks where an extreme lies; a
    // misplaced bound would pull an extreme into the wrong bucket.
    const auto samples = series({0, 5, 1, 9, 5, 8, 5, 2, 5, 0});
    EXPECT_EQ(times(ChartSampling::reduce(samples, 6)), (std::vector<double>{0, 2, 3, 5, 7, 9}));
}

TEST(ChartSamplingTest, TiesKeepTheEarliestSample)
{
    // All-equal bucket: minimum and maximum are the same sample, added once.
    EXPECT_EQ(times(ChartSampling::reduce(series({1, 4, 4, 4, 1}), 4)),
              (std::vector<double>{0, 1, 4}));
    // Two equal minima and two equal maxima: the earlier of each.
    EXPECT_EQ(times(ChartSampling::reduce(series({5, 9, 2, 2, 9, 5}), 4)),
              (std::vector<double>{0, 1, 2, 5}));
}

TEST(ChartSamplingTest, MaximumBeforeMinimumIsAddedFirst)
{
    const auto reduced = ChartSampling::reduce(series({5, 3, 9, 1, 5}), 4);
    EXPECT_EQ(times(reduced), (std::vector<double>{0, 2, 3, 4}));
    EXPECT_EQ(reduced[1].totalValue, Decimal(9));
}

TEST(ChartSamplingTest, TimestampTestSkipsOnlyBucketSamples)
{
    // The bucket's minimum shares its time with the first sample and is skipped; the last
    // sample shares its time with the bucket's maximum and is still appended.
    const auto reduced = ChartSampling::reduce(series({5, 1, 3, 8, 6}, {0, 0, 1, 2, 2}), 4);
    ASSERT_EQ(reduced.size(), 3u);
    EXPECT_EQ(reduced[0].totalValue, Decimal(5));
    EXPECT_EQ(reduced[1].totalValue, Decimal(8));
    EXPECT_EQ(reduced[2].totalValue, Decimal(6));
}

TEST(ChartSamplingTest, LongHistoryStaysWithinTheLimitAndKeepsTheExtremes)
{
    std::vector<int> values(100000);
    for (std::size_t i = 0; i < values.size(); ++i) {
        values[i] = static_cast<int>((i * 7919) % 100003);
    }
    values[54321] = -1;
    values[12345] = 200000;
    const auto reduced = ChartSampling::reduce(series(values), 500);
    EXPECT_LE(reduced.size(), 500u);
    EXPECT_EQ(reduced.front().timestamp.secondsSinceReferenceDate, 0);
    EXPECT_EQ(reduced.back().timestamp.secondsSinceReferenceDate, 99999);
    bool sawLow = false;
    bool sawHigh = false;
    for (std::size_t i = 0; i < reduced.size(); ++i) {
        sawLow = sawLow || reduced[i].totalValue == Decimal(-1);
        sawHigh = sawHigh || reduced[i].totalValue == Decimal(200000);
        if (i > 0) {
            EXPECT_LT(reduced[i - 1].timestamp, reduced[i].timestamp);
        }
    }
    EXPECT_TRUE(sawLow);
    EXPECT_TRUE(sawHigh);
}

TEST(AssetChartScaleTest, DomainAddsTheMargin)
{
    struct Case {
        std::vector<double> values;
        double lower;
        double upper;
    };
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    const std::vector<Case> cases{
        {{}, 0, 1},
        {{100, 110}, 98.4, 111.6},
        {{110, 100}, 98.4, 111.6},
        {{5}, 4.995, 5.005},
        {{0}, -0.001, 0.001},
        {{-3}, -3.003, -2.997},
        {{1, inf}, 0, 1},
        {{-inf, 1}, 0, 1},
        {{nan, 100, 110}, 0, 1},
        {{100, nan, 110}, 98.4, 111.6},
    };
    for (const auto& c : cases) {
        const auto range = AssetChartScale::domain(c.values);
        EXPECT_NEAR(range.lower, c.lower, 1e-9) << ::testing::PrintToString(c.values);
        EXPECT_NEAR(range.upper, c.upper, 1e-9) << ::testing::PrintToString(c.values);
    }
}
