// The whole rule for any source box, key, shift state and text. Input: one
// byte for the source box, the key code and the shift state as 16-bit
// little-endian numbers, then the box's text.
#include <cfenv>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "number_checks.h"
#include "rule.h"

// The check reads the IEEE flags of each conversion, as the rule itself is
// defined to; the compiler must neither move nor fold the operations.
#pragma STDC FENV_ACCESS ON

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace tolvu;
    using checks::require;
    if (size < 5) return 0;
    const Box source = static_cast<Box>(data[0] % kBoxCount);
    const auto key = static_cast<std::int16_t>(data[1] | data[2] << 8);
    const auto shift = static_cast<std::int16_t>(data[3] | data[4] << 8);
    const std::string_view text(reinterpret_cast<const char*>(data + 5), size - 5);
    const Recalculation r = recalculate(source, key, shift, text);

    // The key filter, written out as the keys that start a recalculation.
    const bool passes =
        key == 45 ? shift == 1
                  : key == 8 || key == 46 || (key >= 48 && key <= 57) || (key >= 96 && key <= 105) || key == 190;
    require(r.acted() == passes, "the key filter let the wrong key through", text);
    require(passes || (r.writes().empty() && !r.overflowAt()), "a filtered-out key changed something", text);

    // Sisters in write order, each computed from the text's value; the
    // first whose computation raises overflow, invalid or division by zero
    // (or any, for a number beyond the range) is where the rule must stop.
    const ParsedNumber v = parseNumber(text);
    std::size_t i = 0;
    for (Box target : groupInfo(boxInfo(source).group).members) {
        if (target == source || !passes) continue;
        std::feclearexcept(FE_ALL_EXCEPT);
        const double result = text.empty() ? 0.0 : formula(source, target)->apply(v.value);
        if (v.overflow || std::fetestexcept(FE_INVALID | FE_DIVBYZERO | FE_OVERFLOW)) {
            require(!text.empty() && r.overflowAt() == target && r.writes().size() == i, "wrong overflow stop", text);
            return 0;
        }
        require(i < r.writes().size() && r.writes()[i].target == target, "a sister written out of order", text);
        const std::string_view shown = r.writes()[i++].text.view();
        require(shown == (text.empty() ? "" : checks::referenceText(result)), "a sister shows another text", text);
    }
    require(!r.overflowAt() && r.writes().size() == i, "a write too many, or an overflow for finite results", text);
    return 0;
}
