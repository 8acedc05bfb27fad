#include "models/Decimal.h"
#include "platform/AllocatorTuning.h"

#include <benchmark/benchmark.h>

#include <QString>

#include <string_view>

// The everyday costs of an amount: reading it from a reply, copying it around, turning it into
// a double for a chart, printing it and adding it up.

namespace {

using vantrell::Decimal;

constexpr std::string_view amounts[] = {"120345.10012345", "0.00001234", "42"};

Decimal amount(std::size_t index)
{
    return Decimal::parse(amounts[index]).value_or(Decimal());
}

void parseText(benchmark::State& state)
{
    const std::string_view text = amounts[static_cast<std::size_t>(state.range(0))];
    state.SetLabel(std::string(text));
    for (auto _ : state) {
        std::optional<Decimal> value = Decimal::parse(text);
        benchmark::DoNotOptimize(value);
    }
}

// The connectors read amounts from JSON strings through the QString overload.
void parseQString(benchmark::State& state)
{
    const std::string_view text = amounts[static_cast<std::size_t>(state.range(0))];
    const QString wide = QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
    state.SetLabel(std::string(text));
    for (auto _ : state) {
        Decimal value = Decimal::amountOrZero(wide);
        benchmark::DoNotOptimize(value);
    }
}

void copy(benchmark::State& state)
{
    const Decimal source = amount(0);
    for (auto _ : state) {
        benchmark::DoNotOptimize(&source);
        Decimal value = source;
        benchmark::DoNotOptimize(value);
    }
}

void toDouble(benchmark::State& state)
{
    const Decimal value = amount(static_cast<std::size_t>(state.range(0)));
    state.SetLabel(std::string(amounts[static_cast<std::size_t>(state.range(0))]));
    for (auto _ : state) {
        benchmark::DoNotOptimize(&value);
        double result = value.toDouble();
        benchmark::DoNotOptimize(result);
    }
}

void toText(benchmark::State& state)
{
    const Decimal value = amount(0);
    for (auto _ : state) {
        benchmark::DoNotOptimize(&value);
        std::string text = value.toString();
        benchmark::DoNotOptimize(text);
    }
}

void add(benchmark::State& state)
{
    const Decimal a = amount(0);
    const Decimal b = amount(1);
    for (auto _ : state) {
        benchmark::DoNotOptimize(&a);
        Decimal sum = a + b;
        benchmark::DoNotOptimize(sum);
    }
}

// A long value (a total of many amounts, say) plus an everyday one.
void addToLong(benchmark::State& state)
{
    const Decimal a = Decimal::parse("98765432109876543210.123456789").value_or(Decimal());
    const Decimal b = amount(0);
    for (auto _ : state) {
        benchmark::DoNotOptimize(&a);
        Decimal sum = a + b;
        benchmark::DoNotOptimize(sum);
    }
}

void multiply(benchmark::State& state)
{
    const Decimal a = amount(0);
    const Decimal b = amount(1);
    for (auto _ : state) {
        benchmark::DoNotOptimize(&a);
        Decimal product = a * b;
        benchmark::DoNotOptimize(product);
    }
}

void compare(benchmark::State& state)
{
    const Decimal a = amount(0);
    const Decimal b = amount(1);
    for (auto _ : state) {
        benchmark::DoNotOptimize(&a);
        bool less = a < b;
        benchmark::DoNotOptimize(less);
    }
}

}  // namespace

BENCHMARK(parseText)->DenseRange(0, 2);
BENCHMARK(parseQString)->DenseRange(0, 2);
BENCHMARK(copy);
BENCHMARK(toDouble)->DenseRange(0, 2);
BENCHMARK(toText);
BENCHMARK(add);
BENCHMARK(addToLong);
BENCHMARK(multiply);
BENCHMARK(compare);

// The program tunes its allocator at start-up; measure under the same conditions.
int main(int argc, char** argv)
{
    vantrell::tuneAllocatorForLongRunningProcess();
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 1;
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
