// Any text a user can type or paste, through the parse; and its first eight
// bytes, as the bit pattern of a double, through the format.
#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "number_checks.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    std::uint64_t bits = 0;
    std::memcpy(&bits, data, std::min(size, sizeof bits));
    const std::string text(reinterpret_cast<const char*>(data), size);
    const std::string fault = tolvu::checks::parseFault(text) + tolvu::checks::formatFault(std::bit_cast<double>(bits));
    if (!fault.empty()) {
        std::fprintf(stderr, "%s in %.*s\n", fault.c_str(), static_cast<int>(std::min<std::size_t>(size, 200)),
                     text.c_str());
        std::abort(); // libFuzzer keeps the input as a finding
    }
    return 0;
}
