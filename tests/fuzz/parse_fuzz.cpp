// Any text a user can type or paste: the parse must agree with a correctly
// rounded reading of the same leading number, never yield inf or nan, and
// flag overflow exactly when the number lies beyond the double range. The
// value it yields must also format into a valid number text.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "fuzz_checks.h"
#include "number_text.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace tolvu::fuzz;
    const std::string_view text(reinterpret_cast<const char*>(data), size);

    const tolvu::ParsedNumber got = tolvu::parseNumber(text);
    require(std::isfinite(got.value), "parse gave a non-finite value", text);
    const Reference want = referenceParse(text);
    require(got.overflow == want.overflow, "parse flagged overflow wrongly", text);
    if (got.overflow) return 0;
    require(sameBits(got.value, want.value), "parse read another value", text);

    checkNumberText(tolvu::formatNumber(got.value).view(), got.value);
    return 0;
}
