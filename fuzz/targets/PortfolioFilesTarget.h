#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace vantrell::fuzz {

// The credential identity whose value-history file the target writes: a history record only
// loads when it names this identity.
inline constexpr std::string_view historyIdentity =
    "0f1e2d3c4b5a69788796a5b4c3d2e1f00f1e2d3c4b5a69788796a5b4c3d2e1f0";

// What the loaders made of one input, for tests of the seed corpus.
struct PortfolioFilesRun {
    bool cacheLoaded = false;
    bool historyLoaded = false;
};

// Writes `data` as the cache file and as the history file of `historyIdentity` into a private
// temporary data folder, loads both, checks the records they and the JSON codings make of it,
// and empties the folder again.
PortfolioFilesRun runPortfolioFiles(const std::uint8_t* data, std::size_t size);

}  // namespace vantrell::fuzz
