#include <gtest/gtest.h>

#include <map>
#include <string>

#include "unit_names.h"

namespace tolvu::cli {
namespace {

TEST(UnitNames, EveryBoxIsFoundByItsBoxNameUnitNameAndSymbol)
{
    for (const BoxInfo& info : allBoxes()) {
        for (std::string_view name : {info.name, info.unit, info.symbol})
            EXPECT_EQ(findUnit(name), info.box) << name;
        ASSERT_FALSE(namesOf(info.box).empty());
        EXPECT_EQ(namesOf(info.box).front(), info.name);
    }
}

TEST(UnitNames, NoTwoNamesShareAKeyAndRefusedNamesFindNoUnit)
{
    std::map<std::string, std::string_view> seen;
    for (const UnitName& n : unitNames()) {
        const std::string key = nameKey(n.text);
        ASSERT_FALSE(key.empty()) << n.text;
        const auto [it, inserted] = seen.emplace(key, n.text);
        EXPECT_TRUE(inserted) << '"' << n.text << "\" and \"" << it->second << "\" are both \"" << key << '"';
    }
    for (const RefusedName& r : refusedNames()) {
        EXPECT_FALSE(findUnit(r.text).has_value()) << r.text;
        EXPECT_EQ(findRefused(r.text), &r) << r.text;
    }
    EXPECT_EQ(findRefused("km"), nullptr);
}

// The spellings people type, and the short names whose reading is a choice.
TEST(UnitNames, FindsTheIntendedBox)
{
    using enum Box;
    // clang-format off
    const std::pair<std::string_view, std::optional<Box>> cases[] = {
        {"kilometers", kmBox},   {"Kilometres", kmBox},    {"KMBOX", kmBox},          {"k m", kmBox},
        {"\u00B0F", fahrBox},    {"degF", fahrBox},        {"f", fahrBox},            {"c", celciusBox},
        {"celsius", celciusBox}, {"\u00B0c", celciusBox}, {"deg C", celciusBox},     {"K", kelvinBox},
        {"t", mtBox},            {"Metric-Ton", mtBox},    {"tonnes", mtBox},         {"m", mBox},
        {"min", minBox},         {"mg", mgBox},            {"ston", stBox},           {"lton", ltBox},
        {"oz", ozBox},           {"fl. oz.", flozBox},     {"mL", mlBox},             {"l", lBox},
        {"feet", feetBox},       {"inches", inchBox},      {"s", secBox},             {"h", hourBox},
        {"d", dayBox},           {"st", {}},               {"ton", {}},               {"lt", {}},
        {"", {}},                {". -", {}},              {"kmx", {}},               {"\u00C2\u00B0F", {}},
    };
    // clang-format on
    for (const auto& [name, box] : cases)
        EXPECT_EQ(findUnit(name), box) << '"' << name << '"';
}

} // namespace
} // namespace tolvu::cli
