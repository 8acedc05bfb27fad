#include "GeneratedFigures.h"

#include "BenchTransport.h"

namespace vantrell::bench::generated {

std::string amount(std::uint64_t units)
{
    std::string text;
    appendAmount(text, units / unit, units % unit);
    return text;
}

std::string signedAmount(std::uint64_t units, bool negative)
{
    std::string text = negative ? "-" : "";
    text += amount(units);
    return text;
}

std::string assetCode(int index)
{
    std::string code;
    appendAsset(code, index);
    return code;
}

std::string joined(std::string_view first, std::string_view second)
{
    std::string text(first);
    text += second;
    return text;
}

std::string pricedAsset(int k, int first)
{
    return k == 0 ? std::string("USDT") : assetCode(first + k - 1);
}

std::string quantity(int k)
{
    const auto n = static_cast<std::uint64_t>(k);
    return amount((n * 7 + 1) * unit + n * 12'345 % unit);
}

std::string lockedQuantity(int k)
{
    const auto n = static_cast<std::uint64_t>(k);
    return amount(n % 3 * unit + n * 999);
}

std::string reportedValue(int k)
{
    const auto n = static_cast<std::uint64_t>(k);
    return amount((n * 250 + 10) * unit + n * 31);
}

}  // namespace vantrell::bench::generated
