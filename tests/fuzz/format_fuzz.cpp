// Every double, by its bit pattern, through the format.
#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>

#include "number_checks.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    std::uint64_t bits = 0;
    std::memcpy(&bits, data, size < sizeof bits ? size : sizeof bits);
    const std::string fault = tolvu::checks::formatFault(std::bit_cast<double>(bits));
    tolvu::checks::require(fault.empty(), fault, std::string_view(reinterpret_cast<const char*>(data), size));
    return 0;
}
