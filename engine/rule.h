// The recalculation rule shared by every unit box: from a released key, the
// shift state and the source box's text it yields the writes to the sister
// boxes, in order, and where a result leaves the double range, the box at
// which the recalculation stopped.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

#include "number_text.h"
#include "units.h"

namespace tolvu {

// Windows virtual-key codes and modifier mask, as key events carry them.
namespace vk {
inline constexpr std::int16_t Back = 8;
inline constexpr std::int16_t Insert = 45;
inline constexpr std::int16_t Delete = 46;
inline constexpr std::int16_t Digit0 = 48;
inline constexpr std::int16_t Digit9 = 57;
inline constexpr std::int16_t Numpad0 = 96;
inline constexpr std::int16_t Numpad9 = 105;
inline constexpr std::int16_t Decimal = 110;
inline constexpr std::int16_t OemPeriod = 190;
} // namespace vk

namespace shiftmask {
inline constexpr std::int16_t None = 0;
inline constexpr std::int16_t Shift = 1;
inline constexpr std::int16_t Ctrl = 2;
inline constexpr std::int16_t Alt = 4;
} // namespace shiftmask

// Whether releasing `key` with `shift` held starts a recalculation.
bool passesKeyFilter(std::int16_t key, std::int16_t shift) noexcept;

struct Write {
    Box target;
    NumberText text; // empty when the sister is emptied
};

class Recalculation {
public:
    static constexpr std::size_t kMaxWrites = 7;

    // False when the key filter let the key pass by: nothing changes.
    bool acted() const noexcept { return acted_; }
    std::span<const Write> writes() const noexcept { return {writes_.data(), count_}; }
    // The target whose result left the double range; the writes before it
    // stand, this target and the later ones keep their texts.
    std::optional<Box> overflowAt() const noexcept { return overflowAt_; }

private:
    friend Recalculation recalculate(Box, std::int16_t, std::int16_t, std::string_view);
    std::array<Write, kMaxWrites> writes_{};
    std::uint8_t count_ = 0;
    bool acted_ = false;
    std::optional<Box> overflowAt_;
};

// Runs the rule for a key released in `source` whose text is now `text`;
// throws std::bad_alloc where parseNumber does.
Recalculation recalculate(Box source, std::int16_t key, std::int16_t shift, std::string_view text);

// The rule as a typed digit would run it: for front ends that take a value
// without a key, such as the command line.
inline Recalculation convert(Box source, std::string_view text)
{
    return recalculate(source, vk::Digit0, shiftmask::None, text);
}

} // namespace tolvu
