// Every double, by its bit pattern: a finite value formats into valid
// number text that reads back as the value rounded to 15 significant digits;
// inf and nan have no number text at all.
#include <bit>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "number_checks.h"
#include "number_text.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    std::uint64_t bits = 0;
    std::memcpy(&bits, data, size < sizeof bits ? size : sizeof bits);
    const double value = std::bit_cast<double>(bits);
    const tolvu::NumberText text = tolvu::formatNumber(value);
    const std::string fault = std::isfinite(value) ? tolvu::checks::numberTextFault(text.view(), value)
                              : text.empty()       ? ""
                                                   : "inf or nan got a number text";
    tolvu::checks::require(fault.empty(), fault, text.view());
    return 0;
}
