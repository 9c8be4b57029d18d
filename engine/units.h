// The five unit groups: which boxes exist, in which order the rule writes
// them and how each ordered pair converts. Everything here is constant data;
// no factor is ever derived from another at run time.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

namespace tolvu {

enum class Group : std::uint8_t { Length, Weight, Volume, Temperature, Time };

inline constexpr std::size_t kGroupCount = 5;

// Enumerated group by group, each group in its write order.
// clang-format off
enum class Box : std::uint8_t {
    mmBox, cmBox, mBox, kmBox, inchBox, feetBox, yardBox, mileBox,
    mgBox, gBox, kgBox, mtBox, ozBox, lbsBox, stBox, ltBox,
    mlBox, clBox, dlBox, lBox, flozBox, pintBox, quartBox, gallonBox,
    celciusBox, kelvinBox, fahrBox,
    secBox, minBox, hourBox, dayBox,
};
// clang-format on

inline constexpr std::size_t kBoxCount = 31;

// One double-precision operation with a constant operand. The kind of
// operation matters as much as the constant: v / 10.0 and v * 0.1 can
// differ in the last bit.
struct Step {
    enum class Op : std::uint8_t { Mul, Div, Add, Sub };
    Op op = Op::Mul;
    double k = 1.0;
};

// A conversion: up to three steps applied in order to the source value.
struct Formula {
    std::array<Step, 3> steps{};
    std::uint8_t count = 0;

    double apply(double v) const noexcept
    {
        for (std::uint8_t i = 0; i < count; ++i) {
            const Step& s = steps[i];
            switch (s.op) {
            case Step::Op::Mul: v = v * s.k; break;
            case Step::Op::Div: v = v / s.k; break;
            case Step::Op::Add: v = v + s.k; break;
            case Step::Op::Sub: v = v - s.k; break;
            }
        }
        return v;
    }
};

struct BoxInfo {
    Box box;
    std::string_view name; // control name, e.g. "kmBox"
    Group group;
    std::string_view caption; // label caption with its "&" access-key marker
    std::string_view unit;    // unit name, e.g. "kilometre"
    std::string_view symbol;  // unit symbol, e.g. "km"
};

struct GroupInfo {
    Group group;
    std::string_view name;        // "Length", ...
    std::span<const Box> members; // in write order
};

const BoxInfo& boxInfo(Box box) noexcept;
const GroupInfo& groupInfo(Group group) noexcept;
std::span<const BoxInfo, kBoxCount> allBoxes() noexcept;
std::span<const GroupInfo, kGroupCount> allGroups() noexcept;

// The conversion from one member of a group to another; nullptr when the two
// are the same box or belong to different groups.
const Formula* formula(Box from, Box to) noexcept;

} // namespace tolvu
