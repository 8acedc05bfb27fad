#include "models/ChartSampling.h"

#include <cstddef>
#include <cstdint>

namespace vantrell::ChartSampling {

namespace {

// Appends the bucket [start, end)'s minimum and maximum in time order. Ties keep the earliest
// sample, and a sample whose time equals the last one already kept is skipped, so a bucket whose
// extremes are one and the same sample contributes it once.
void appendExtremes(const std::vector<PortfolioTrendSample>& samples, std::size_t start,
                    std::size_t end, std::vector<PortfolioTrendSample>& output)
{
    std::size_t minimum = start;
    for (std::size_t i = start + 1; i < end; ++i) {
        if (samples[i].totalValue < samples[minimum].totalValue) {
            minimum = i;
        }
    }
    std::size_t maximum = start;
    for (std::size_t i = start + 1; i < end; ++i) {
        if (samples[i].totalValue > samples[maximum].totalValue) {
            maximum = i;
        }
    }
    const bool maximumFirst = samples[maximum].timestamp < samples[minimum].timestamp;
    for (const std::size_t index :
         {maximumFirst ? maximum : minimum, maximumFirst ? minimum : maximum}) {
        if (samples[index].timestamp != output.back().timestamp) {
            output.push_back(samples[index]);
        }
    }
}

}  // namespace

std::vector<PortfolioTrendSample> reduce(const std::vector<PortfolioTrendSample>& samples,
                                         int limit)
{
    const auto count = static_cast<std::int64_t>(samples.size());
    if (limit < 4 || count <= limit) {
        return samples;
    }
    // count > limit >= 4 leaves at least 2 * buckets + 1 interior samples, so no bucket is empty.
    // The products are taken in 64 bits before dividing so long histories cannot overflow.
    const std::int64_t buckets = (limit - 2) / 2;
    const std::int64_t interior = count - 2;
    std::vector<PortfolioTrendSample> output;
    output.reserve(static_cast<std::size_t>(2 + 2 * buckets));
    output.push_back(samples.front());
    for (std::int64_t i = 0; i < buckets; ++i) {
        const auto start = static_cast<std::size_t>(i * interior / buckets + 1);
        const auto end = static_cast<std::size_t>((i + 1) * interior / buckets + 1);
        appendExtremes(samples, start, end, output);
    }
    // The end point is always drawn, even when it shares its time with the previous sample.
    output.push_back(samples.back());
    return output;
}

}  // namespace vantrell::ChartSampling
