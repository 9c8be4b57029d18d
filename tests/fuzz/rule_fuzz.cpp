// The whole rule for any source box, key, shift state and text. Input: one
// byte for the source box, the key code and the shift state as 16-bit
// little-endian numbers, then the box's text.
#include <cfenv>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

#include "fuzz_checks.h"
#include "number_text.h"
#include "rule.h"
#include "units.h"

// The check reads the IEEE flags of each conversion, as the rule itself is
// defined to; the compiler must neither move nor fold the operations.
#pragma STDC FENV_ACCESS ON

namespace {

using namespace tolvu;
using fuzz::require;

std::int16_t read16(const std::uint8_t* p)
{
    return static_cast<std::int16_t>(static_cast<std::uint16_t>(p[0] | (p[1] << 8)));
}

// The key filter as a table of the keys that start a recalculation.
bool keyStartsRecalculation(std::int16_t key, std::int16_t shift)
{
    if (key == 45) return shift == 1;
    return key == 8 || key == 46 || (key >= 48 && key <= 57) || (key >= 96 && key <= 105) || key == 190;
}

// Whether computing `f` on `v` raises invalid operation, division by zero
// or overflow, the flags that fail the floating-point check.
bool failsCheck(const Formula& f, double v)
{
    std::feclearexcept(FE_ALL_EXCEPT);
    const double r = f.apply(v);
    const bool raised = std::fetestexcept(FE_INVALID | FE_DIVBYZERO | FE_OVERFLOW) != 0;
    require(raised == !std::isfinite(r), "the flags and the result disagree");
    return raised;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 5) return 0;
    const Box source = static_cast<Box>(data[0] % kBoxCount);
    const std::int16_t key = read16(data + 1);
    const std::int16_t shift = read16(data + 3);
    const std::string_view text(reinterpret_cast<const char*>(data + 5), size - 5);

    const Recalculation r = recalculate(source, key, shift, text);
    require(r.acted() == keyStartsRecalculation(key, shift), "the key filter let the wrong key through", text);
    if (!r.acted()) {
        require(r.writes().empty() && !r.overflowAt(), "a filtered-out key changed something", text);
        return 0;
    }

    std::vector<Box> targets;
    for (Box b : groupInfo(boxInfo(source).group).members) {
        if (b != source) targets.push_back(b);
    }
    require(r.writes().size() <= targets.size(), "more writes than sisters", text);
    for (std::size_t i = 0; i < r.writes().size(); ++i)
        require(r.writes()[i].target == targets[i], "a write out of the group's write order", text);

    if (text.empty()) {
        require(r.writes().size() == targets.size() && !r.overflowAt(), "an empty box did not empty its sisters", text);
        for (const Write& w : r.writes())
            require(w.text.empty(), "an empty box wrote a number", text);
        return 0;
    }

    // Where the rule must stop: at the first target for a number beyond the
    // double range, else at the first result that fails the check.
    const ParsedNumber v = parseNumber(text);
    std::optional<std::size_t> stop;
    if (v.overflow) {
        stop = 0;
    } else {
        for (std::size_t i = 0; i < targets.size() && !stop; ++i) {
            if (failsCheck(*formula(source, targets[i]), v.value)) stop = i;
        }
    }
    if (stop) {
        require(r.overflowAt() == targets[*stop], "overflow reported at the wrong target", text);
        require(r.writes().size() == *stop, "overflow kept the wrong writes", text);
    } else {
        require(!r.overflowAt(), "overflow reported for finite results", text);
        require(r.writes().size() == targets.size(), "a sister was left unwritten", text);
    }
    for (const Write& w : r.writes())
        fuzz::checkNumberText(w.text.view(), formula(source, w.target)->apply(v.value));
    return 0;
}
