#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

namespace vantrell::fuzz {

// The body of one fuzz target: feeds `data` to the code under test and returns normally unless
// it finds a fault, in which case it prints what broke and aborts (see FuzzCheck.h). Each runs
// in the fuzz executables and, for the inputs kept under tests/fuzz/regressions, in CTest.
using TargetFunction = void (*)(const std::uint8_t* data, std::size_t size);

// JSON text through JsonReader, and whatever parses through JsonWriter and back.
void fuzzJsonReader(const std::uint8_t* data, std::size_t size);

// The replies of one fetch (see ReplyScript.h) through each connector's fetchSnapshot() and
// testConnection().
void fuzzBinanceSnapshot(const std::uint8_t* data, std::size_t size);
void fuzzOKXSnapshot(const std::uint8_t* data, std::size_t size);
void fuzzBybitSnapshot(const std::uint8_t* data, std::size_t size);
void fuzzBitgetSnapshot(const std::uint8_t* data, std::size_t size);
void fuzzGateSnapshot(const std::uint8_t* data, std::size_t size);

// The bytes as the snapshot cache file and as a value-history file, loaded; and as JSON decoded
// into the records those files hold, which must survive a write and a read unchanged.
void fuzzPortfolioFiles(const std::uint8_t* data, std::size_t size);

// The bytes as a downloaded reference-rate file.
void fuzzReferenceRates(const std::uint8_t* data, std::size_t size);

// The bytes as the Retry-After text and the body of a failed reply.
void fuzzHttpErrors(const std::uint8_t* data, std::size_t size);

// Amount texts: parsing, printing and arithmetic.
void fuzzDecimal(const std::uint8_t* data, std::size_t size);

struct FuzzTarget {
    const char* name;  // the fuzz executable's name, also its corpus and regression folder
    TargetFunction run;
};

// Every target, in a fixed order.
std::span<const FuzzTarget> allTargets();

// What a fuzz executable needs before its first input: an application object, so coroutines
// that wait for the event loop can run.
void initialize(int* argc, char*** argv);

}  // namespace vantrell::fuzz
