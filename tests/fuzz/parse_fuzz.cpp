// Any text a user can type or paste reads as the correctly rounded value of
// its leading number, never inf or nan, with overflow flagged exactly when
// the number lies beyond the double range; and that value formats into
// valid number text.
#include <bit>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "number_checks.h"
#include "number_text.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace tolvu::checks;
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const tolvu::ParsedNumber got = tolvu::parseNumber(text);
    const Reference want = referenceParse(text);
    require(std::isfinite(got.value) && got.overflow == want.overflow, "parse flagged overflow wrongly", text);
    require(got.overflow || std::bit_cast<std::uint64_t>(got.value) == std::bit_cast<std::uint64_t>(want.value),
            "parse read another value", text);
    require(numberTextFault(tolvu::formatNumber(got.value).view(), got.value).empty(), "bad number text", text);
    return 0;
}
