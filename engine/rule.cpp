#include "rule.h"

#include <cmath>

namespace tolvu {

bool passesKeyFilter(std::int16_t key, std::int16_t shift) noexcept
{
    if (key == vk::Insert) return shift == shiftmask::Shift;
    return key == vk::Back || key == vk::Delete || (key >= vk::Digit0 && key <= vk::Digit9) ||
           (key >= vk::Numpad0 && key <= vk::Numpad9) || key == vk::OemPeriod;
}

Recalculation recalculate(Box source, std::int16_t key, std::int16_t shift, std::string_view text)
{
    Recalculation r;
    if (!passesKeyFilter(key, shift)) return r;
    r.acted_ = true;

    const GroupInfo& group = groupInfo(boxInfo(source).group);
    if (text.empty()) {
        for (Box target : group.members) {
            if (target != source) r.writes_[r.count_++] = {target, NumberText()};
        }
        return r;
    }

    const ParsedNumber parsed = parseNumber(text);
    for (Box target : group.members) {
        if (target == source) continue;
        // A number beyond the double range fails before anything is written,
        // as its first conversion would.
        if (parsed.overflow) {
            r.overflowAt_ = target;
            return r;
        }
        // Every operand is finite and every divisor a non-zero constant, so
        // the only way a result can fail is by overflowing to infinity.
        const double result = formula(source, target)->apply(parsed.value);
        if (!std::isfinite(result)) {
            r.overflowAt_ = target;
            return r;
        }
        r.writes_[r.count_++] = {target, formatNumber(result)};
    }
    return r;
}

} // namespace tolvu
