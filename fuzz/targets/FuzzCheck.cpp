#include "FuzzCheck.h"

#include <cstdio>
#include <cstdlib>

namespace vantrell::fuzz {

void fail(std::string_view what, std::string_view detail)
{
    std::fprintf(stderr, "fuzz target failure: %.*s", static_cast<int>(what.size()), what.data());
    if (!detail.empty()) {
        std::fprintf(stderr, " (%.*s)", static_cast<int>(detail.size()), detail.data());
    }
    std::fputc('\n', stderr);
    std::abort();
}

}  // namespace vantrell::fuzz
