#include <gtest/gtest.h>

#include <set>
#include <string>

#include "engine_test_support.h"
#include "units.h"

namespace tolvu {
namespace {

using namespace testing_support;

TEST(UnitTables, GroupsHoldTheirMembersInWriteOrder)
{
    const auto groups = allGroups();
    ASSERT_EQ(groups.size(), expectedGroups().size());
    for (std::size_t i = 0; i < groups.size(); ++i) {
        const ExpectedGroup& want = expectedGroups()[i];
        SCOPED_TRACE(std::string(want.name));
        EXPECT_EQ(groups[i].name, want.name);
        EXPECT_EQ(std::vector<Box>(groups[i].members.begin(), groups[i].members.end()), want.members);
        EXPECT_EQ(groupInfo(groups[i].group).name, want.name);
    }
}

TEST(UnitTables, EveryBoxBelongsToExactlyOneGroup)
{
    ASSERT_EQ(allBoxes().size(), 31u);
    std::multiset<Box> seen;
    for (const GroupInfo& g : allGroups()) {
        for (Box b : g.members) {
            seen.insert(b);
            EXPECT_EQ(boxInfo(b).group, g.group) << boxInfo(b).name;
        }
    }
    for (const BoxInfo& info : allBoxes()) {
        EXPECT_EQ(seen.count(info.box), 1u) << info.name;
    }
    EXPECT_EQ(seen.size(), 31u);
}

TEST(UnitTables, NamesAreUniqueAndLookUpTheirBox)
{
    std::set<std::string_view> names;
    for (const BoxInfo& info : allBoxes()) {
        EXPECT_TRUE(names.insert(info.name).second) << "duplicate " << info.name;
        EXPECT_EQ(boxInfo(info.box).name, info.name);
        EXPECT_EQ(boxByName(info.name), info.box) << info.name;
        EXPECT_FALSE(info.caption.empty()) << info.name;
    }
}

TEST(UnitTables, UnknownNamesFindNoBox)
{
    for (const char* name : {"", "mmbox", "MMBOX", "mm", "celsiusBox", "kmBox ", " kmBox", "Box", "Form1"}) {
        EXPECT_EQ(boxByName(name), std::nullopt) << '"' << name << '"';
    }
}

TEST(UnitTables, FormulaExistsForExactlyTheOrderedPairsOfDistinctSisters)
{
    int pairs = 0;
    for (const BoxInfo& from : allBoxes()) {
        for (const BoxInfo& to : allBoxes()) {
            const bool sisters = from.box != to.box && &expectedGroupOf(from.box) == &expectedGroupOf(to.box);
            EXPECT_EQ(formula(from.box, to.box) != nullptr, sisters) << from.name << " -> " << to.name;
            pairs += sisters;
        }
    }
    EXPECT_EQ(pairs, 56 + 56 + 56 + 6 + 12);
}

} // namespace
} // namespace tolvu
