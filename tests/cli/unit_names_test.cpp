#include <gtest/gtest.h>

#include <map>
#include <ostream>
#include <string>

#include "unit_names.h"

namespace tolvu::cli {
namespace {

TEST(UnitNames, EveryBoxIsFoundByItsBoxNameUnitNameAndSymbol)
{
    for (const BoxInfo& info : allBoxes()) {
        for (std::string_view name : {info.name, info.unit, info.symbol}) {
            const std::optional<Box> found = findUnit(name);
            ASSERT_TRUE(found.has_value()) << name;
            EXPECT_EQ(*found, info.box) << name;
        }
        ASSERT_FALSE(namesOf(info.box).empty());
        EXPECT_EQ(namesOf(info.box).front(), info.name);
    }
}

TEST(UnitNames, NoTwoNamesShareAKey)
{
    std::map<std::string, std::string_view> seen;
    for (const UnitName& n : unitNames()) {
        const std::string key = nameKey(n.text);
        ASSERT_FALSE(key.empty()) << n.text;
        const auto [it, inserted] = seen.emplace(key, n.text);
        EXPECT_TRUE(inserted) << '"' << n.text << "\" and \"" << it->second << "\" are both \"" << key << '"';
    }
}

TEST(UnitNames, RefusedNamesFindNoUnit)
{
    for (const RefusedName& r : refusedNames()) {
        EXPECT_FALSE(findUnit(r.text).has_value()) << r.text;
        EXPECT_EQ(findRefused(r.text), &r) << r.text;
        EXPECT_FALSE(r.why.empty());
    }
    EXPECT_EQ(findRefused("km"), nullptr);
}

struct LookupCase {
    std::string_view name;
    std::optional<Box> box;
};

void PrintTo(const LookupCase& c, std::ostream* os)
{
    *os << '"' << c.name << "\" -> " << (c.box ? boxInfo(*c.box).name : "none");
}

class UnitLookupTest : public ::testing::TestWithParam<LookupCase> {};

TEST_P(UnitLookupTest, FindsTheIntendedBox)
{
    EXPECT_EQ(findUnit(GetParam().name), GetParam().box) << GetParam().name;
}

// The spellings people type, and the short names whose reading is a choice.
INSTANTIATE_TEST_SUITE_P(
    Names, UnitLookupTest,
    ::testing::Values(
        LookupCase{"km", Box::kmBox}, LookupCase{"kilometer", Box::kmBox}, LookupCase{"kilometers", Box::kmBox},
        LookupCase{"kilometre", Box::kmBox}, LookupCase{"Kilometres", Box::kmBox}, LookupCase{"KMBOX", Box::kmBox},
        LookupCase{"\u00B0F", Box::fahrBox}, LookupCase{"degF", Box::fahrBox}, LookupCase{"fahrenheit", Box::fahrBox},
        LookupCase{"f", Box::fahrBox}, LookupCase{"c", Box::celciusBox}, LookupCase{"celsius", Box::celciusBox},
        LookupCase{"\u00B0c", Box::celciusBox}, LookupCase{"deg C", Box::celciusBox}, LookupCase{"K", Box::kelvinBox},
        LookupCase{"t", Box::mtBox}, LookupCase{"Metric-Ton", Box::mtBox}, LookupCase{"tonnes", Box::mtBox},
        LookupCase{"m", Box::mBox}, LookupCase{"min", Box::minBox}, LookupCase{"mg", Box::mgBox},
        LookupCase{"ston", Box::stBox}, LookupCase{"lton", Box::ltBox}, LookupCase{"oz", Box::ozBox},
        LookupCase{"fl. oz.", Box::flozBox}, LookupCase{"mL", Box::mlBox}, LookupCase{"l", Box::lBox},
        LookupCase{"feet", Box::feetBox}, LookupCase{"inches", Box::inchBox}, LookupCase{"s", Box::secBox},
        LookupCase{"h", Box::hourBox}, LookupCase{"d", Box::dayBox}, LookupCase{"st", std::nullopt},
        LookupCase{"ton", std::nullopt}, LookupCase{"lt", std::nullopt}, LookupCase{"", std::nullopt},
        LookupCase{". -", std::nullopt}, LookupCase{"kmx", std::nullopt}, LookupCase{"k m", Box::kmBox},
        LookupCase{"\u00C2\u00B0F", std::nullopt}));

} // namespace
} // namespace tolvu::cli
