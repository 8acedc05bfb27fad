#pragma once

#include <string_view>

namespace vantrell::fuzz {

// A fault found by a target: prints what broke to standard error and aborts, which libFuzzer
// and CTest both report with the input that caused it.
[[noreturn]] void fail(std::string_view what, std::string_view detail = {});

// fail(what, detail) unless `condition` holds.
inline void check(bool condition, std::string_view what, std::string_view detail = {})
{
    if (!condition) {
        fail(what, detail);
    }
}

}  // namespace vantrell::fuzz
