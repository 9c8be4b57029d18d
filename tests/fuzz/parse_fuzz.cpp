// Any text a user can type or paste, through the parse and the format.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "number_checks.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const std::string fault = tolvu::checks::parseFault(text);
    tolvu::checks::require(fault.empty(), fault, text);
    return 0;
}
