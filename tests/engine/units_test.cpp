#include <gtest/gtest.h>

#include <set>
#include <string>

#include "engine_test_support.h"
#include "units.h"

namespace tolvu {
namespace {

using namespace testing_support;

TEST(UnitTables, GroupsHoldTheirMembersInWriteOrderAndEveryBoxOnce)
{
    ASSERT_EQ(allGroups().size(), kExpectedGroups.size());
    std::multiset<Box> seen;
    for (std::size_t i = 0; i < allGroups().size(); ++i) {
        const GroupInfo& g = allGroups()[i];
        EXPECT_EQ(g.name, kExpectedGroups[i].name);
        EXPECT_EQ(groupInfo(g.group).name, kExpectedGroups[i].name);
        EXPECT_EQ(std::vector<Box>(g.members.begin(), g.members.end()), kExpectedGroups[i].members) << g.name;
        for (Box b : g.members) {
            seen.insert(b);
            EXPECT_EQ(boxInfo(b).group, g.group) << boxInfo(b).name;
        }
    }
    ASSERT_EQ(allBoxes().size(), 31u);
    EXPECT_EQ(seen.size(), 31u);
    for (const BoxInfo& info : allBoxes())
        EXPECT_EQ(seen.count(info.box), 1u) << info.name;
}

TEST(UnitTables, NamesAreUniqueAndLookUpTheirBoxExactly)
{
    std::set<std::string_view> names;
    for (const BoxInfo& info : allBoxes()) {
        EXPECT_TRUE(names.insert(info.name).second) << "duplicate " << info.name;
        EXPECT_EQ(boxInfo(info.box).name, info.name);
        EXPECT_EQ(boxByName(info.name), info.box) << info.name;
    }
    for (const char* name : {"", "mmbox", "MMBOX", "mm", "celsiusBox", "kmBox ", " kmBox", "Form1"})
        EXPECT_EQ(boxByName(name), std::nullopt) << '"' << name << '"';
}

TEST(UnitTables, FormulaExistsForExactlyTheOrderedPairsOfDistinctSisters)
{
    int pairs = 0;
    for (const BoxInfo& from : allBoxes()) {
        for (const BoxInfo& to : allBoxes()) {
            const bool sisters = from.box != to.box && &membersOf(from.box) == &membersOf(to.box);
            EXPECT_EQ(formula(from.box, to.box) != nullptr, sisters) << from.name << " -> " << to.name;
            pairs += sisters;
        }
    }
    EXPECT_EQ(pairs, 186);
}

} // namespace
} // namespace tolvu
