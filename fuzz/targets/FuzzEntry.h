#pragma once

#include "FuzzTargets.h"

#include <cstddef>
#include <cstdint>

// The two functions libFuzzer calls, forwarding to one target function. A fuzz executable's
// source is this macro and nothing else.
#define VANTRELL_FUZZ_ENTRY(function)                                                 \
    extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)                      \
    {                                                                                 \
        vantrell::fuzz::initialize(argc, argv);                                       \
        return 0;                                                                     \
    }                                                                                 \
    extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) \
    {                                                                                 \
        vantrell::fuzz::function(data, size);                                         \
        return 0;                                                                     \
    }
