// What several engine suites share: the groups written out by hand, so the
// tests do not take the member lists from the code they check, and helpers
// to read a recalculation's writes.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
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

inline const std::vector<ExpectedGroup> kExpectedGroups = {
    {"Length", {mmBox, cmBox, mBox, kmBox, inchBox, feetBox, yardBox, mileBox}},
    {"Weight", {mgBox, gBox, kgBox, mtBox, ozBox, lbsBox, stBox, ltBox}},
    {"Volume", {mlBox, clBox, dlBox, lBox, flozBox, pintBox, quartBox, gallonBox}},
    {"Temperature", {celciusBox, kelvinBox, fahrBox}},
    {"Time", {secBox, minBox, hourBox, dayBox}},
};

inline const std::vector<Box>& membersOf(Box box)
{
    for (const ExpectedGroup& g : kExpectedGroups) {
        if (std::find(g.members.begin(), g.members.end(), box) != g.members.end()) return g.members;
    }
    ADD_FAILURE() << "box missing from the hand-written groups";
    return kExpectedGroups.front().members;
}

// The sisters of `source` in the order the rule must write them.
inline std::vector<Box> sistersInWriteOrder(Box source)
{
    std::vector<Box> out = membersOf(source);
    std::erase(out, source);
    return out;
}

inline std::vector<Box> targetsOf(const Recalculation& r)
{
    std::vector<Box> out;
    for (const Write& w : r.writes())
        out.push_back(w.target);
    return out;
}

inline std::vector<std::string> textsOf(const Recalculation& r)
{
    std::vector<std::string> out;
    for (const Write& w : r.writes())
        out.emplace_back(w.text.view());
    return out;
}

// The text written into `target`, or "<not written>".
inline std::string writtenText(const Recalculation& r, Box target)
{
    for (const Write& w : r.writes()) {
        if (w.target == target) return std::string(w.text.view());
    }
    return "<not written>";
}

// Test names and messages show long texts cut short.
inline std::string shortText(std::string_view text)
{
    if (text.size() <= 32) return ::testing::PrintToString(std::string(text));
    return ::testing::PrintToString(std::string(text.substr(0, 16)) + "...") + "(" + std::to_string(text.size()) +
           " chars)";
}

} // namespace testing_support
} // namespace tolvu
