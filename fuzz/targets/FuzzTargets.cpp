#include "FuzzTargets.h"

#include <QCoreApplication>

#include <array>

namespace vantrell::fuzz {

std::span<const FuzzTarget> allTargets()
{
    static constexpr std::array<FuzzTarget, 10> targets{{
        {"JsonReaderFuzz", fuzzJsonReader},
        {"BinanceSnapshotFuzz", fuzzBinanceSnapshot},
        {"OKXSnapshotFuzz", fuzzOKXSnapshot},
        {"BybitSnapshotFuzz", fuzzBybitSnapshot},
        {"BitgetSnapshotFuzz", fuzzBitgetSnapshot},
        {"GateSnapshotFuzz", fuzzGateSnapshot},
        {"PortfolioFilesFuzz", fuzzPortfolioFiles},
        {"ReferenceRatesFuzz", fuzzReferenceRates},
        {"HttpErrorsFuzz", fuzzHttpErrors},
        {"DecimalFuzz", fuzzDecimal},
    }};
    return targets;
}

void initialize(int* argc, char*** argv)
{
    // Lives until the process ends; libFuzzer never returns from its loop.
    if (QCoreApplication::instance() == nullptr) {
        new QCoreApplication(*argc, *argv);
    }
}

}  // namespace vantrell::fuzz
