// What several engine suites share: the groups written out by hand, so the
// tests do not take the member lists from the code they check, and helpers
// to read a recalculation's writes.
#pragma once

#include <gtest/gtest.h>

#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "rule.h"
#include "units.h"

namespace tolvu {

// Lets GoogleTest print "kmBox" rather than a raw byte.
inline void PrintTo(Box box, std::ostream* os)
{
    *os << boxInfo(box).name;
}

namespace testing_support {

using enum Box;

struct ExpectedGroup {
    std::string_view name;
    std::vector<Box> members; // in write order
};

inline const std::vector<ExpectedGroup>& expectedGroups()
{
    static const std::vector<ExpectedGroup> groups = {
        {"Length", {mmBox, cmBox, mBox, kmBox, inchBox, feetBox, yardBox, mileBox}},
        {"Weight", {mgBox, gBox, kgBox, mtBox, ozBox, lbsBox, stBox, ltBox}},
        {"Volume", {mlBox, clBox, dlBox, lBox, flozBox, pintBox, quartBox, gallonBox}},
        {"Temperature", {celciusBox, kelvinBox, fahrBox}},
        {"Time", {secBox, minBox, hourBox, dayBox}},
    };
    return groups;
}

inline const ExpectedGroup& expectedGroupOf(Box box)
{
    for (const ExpectedGroup& g : expectedGroups()) {
        for (Box member : g.members) {
            if (member == box) return g;
        }
    }
    ADD_FAILURE() << "box missing from the hand-written groups";
    return expectedGroups().front();
}

// The sisters of `source` in the order the rule must write them.
inline std::vector<Box> sistersInWriteOrder(Box source)
{
    std::vector<Box> out;
    for (Box member : expectedGroupOf(source).members) {
        if (member != source) out.push_back(member);
    }
    return out;
}

inline std::vector<Box> targetsOf(const Recalculation& r)
{
    std::vector<Box> out;
    for (const Write& w : r.writes())
        out.push_back(w.target);
    return out;
}

// The text written into `target`, or nullopt when it was not written.
inline std::optional<std::string> writtenText(const Recalculation& r, Box target)
{
    for (const Write& w : r.writes()) {
        if (w.target == target) return std::string(w.text.view());
    }
    return std::nullopt;
}

// Test names and messages show long texts cut short.
inline std::string shortText(std::string_view text)
{
    if (text.size() <= 32) return ::testing::PrintToString(std::string(text));
    const std::string cut = std::string(text.substr(0, 16)) + "..." + std::string(text.substr(text.size() - 10));
    return ::testing::PrintToString(cut) + "(" + std::to_string(text.size()) + " chars)";
}

inline bool looksNonFinite(std::string_view text)
{
    for (std::string_view bad : {"inf", "INF", "Inf", "nan", "NAN", "NaN"}) {
        if (text.find(bad) != std::string_view::npos) return true;
    }
    return false;
}

} // namespace testing_support
} // namespace tolvu
