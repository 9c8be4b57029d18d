// The recalculation rule as a whole: which keys start it, which boxes it
// writes, in which order, when it empties them and where it stops on a
// result beyond the double range.
#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <optional>
#include <string>
#include <vector>

#include "engine_test_support.h"
#include "rule.h"

namespace tolvu {
namespace {

using namespace testing_support;

// Every 16-bit key code under every combination of Shift, Ctrl and Alt and
// a few masks no keyboard sends. A passing key recalculates from the text as
// it stands, whichever key it was; a stopped one changes nothing, not even in
// an empty box whose sisters would otherwise be emptied.
TEST(KeyFilter, SweepOfAllKeyCodesAndShiftStates)
{
    const auto listed = [](int k) {
        return k == 8 || k == 46 || (k >= 48 && k <= 57) || (k >= 96 && k <= 105) || k == 190;
    };
    const std::vector<std::string> typed = textsOf(convert(Box::minBox, "-90"));
    ASSERT_EQ(typed, (std::vector<std::string>{"-5400", "-1.5", "-0.0625"}));
    int passed = 0;
    for (int key = std::numeric_limits<std::int16_t>::min(); key <= std::numeric_limits<std::int16_t>::max(); ++key) {
        for (int shift : {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, -1, 0x7fff}) {
            const bool want = listed(key) || (key == 45 && shift == 1);
            const auto k = static_cast<std::int16_t>(key);
            const auto s = static_cast<std::int16_t>(shift);
            const bool got = passesKeyFilter(k, s);
            const Recalculation r = recalculate(Box::minBox, k, s, "-90");
            const Recalculation empty = recalculate(Box::minBox, k, s, "");
            if (got != want || r.acted() != want || textsOf(r) != (want ? typed : std::vector<std::string>{}) ||
                empty.writes().size() != (want ? 3u : 0u))
                ADD_FAILURE() << "key " << key << " shift " << shift;
            passed += got;
        }
    }
    EXPECT_EQ(passed, 23 * 12 + 1);
}

// Results and emptying follow the group's write order, the source skipped;
// an empty box empties its sisters whichever key passed the filter.
TEST(Rule, EveryBoxWritesItsSistersInWriteOrder)
{
    const std::int16_t keys[][2] = {{vk::Back, 0}, {vk::Delete, 1}, {vk::Insert, 1}, {48, 2}};
    for (const BoxInfo& info : allBoxes()) {
        const std::vector<Box> sisters = sistersInWriteOrder(info.box);
        const Recalculation r = convert(info.box, "12.5");
        EXPECT_EQ(targetsOf(r), sisters) << info.name;
        EXPECT_FALSE(r.overflowAt().has_value()) << info.name;
        for (const std::string& text : textsOf(r))
            EXPECT_FALSE(text.empty()) << info.name;
        for (const auto& [key, shift] : keys) {
            const Recalculation emptied = recalculate(info.box, key, shift, "");
            EXPECT_EQ(targetsOf(emptied), sisters) << info.name << " key " << key;
            EXPECT_EQ(textsOf(emptied), std::vector<std::string>(sisters.size())) << info.name;
        }
    }
}

struct OverflowCase {
    Box source;
    std::string text;
    std::size_t written;           // leading targets written before the stop
    std::optional<Box> overflowAt; // nullopt when every sister is written
};

void PrintTo(const OverflowCase& c, std::ostream* os)
{
    *os << shortText(c.text) << " in " << boxInfo(c.source).name;
}

// clang-format off
const OverflowCase kOverflowCases[] = {
    // The first target fails: nothing is written.
    {kmBox, "1e303", 0, mmBox},       {mileBox, "1.2e302", 0, mmBox},  {mtBox, "1e300", 0, mgBox},
    {gallonBox, "1e305", 0, mlBox},   {dayBox, "2.1e303", 0, secBox},  {minBox, "-3e306", 0, secBox},
    // A number the parse cannot hold fails at the first target in any row.
    {mmBox, "1e999", 0, cmBox},       {fahrBox, "-1e999", 0, celciusBox}, {mgBox, std::string(400, '9'), 0, gBox},
    // Celsius and kelvin fail only at Fahrenheit, after the first sister.
    {celciusBox, "-1e308", 1, fahrBox}, {kelvinBox, "1e308", 1, fahrBox},
    // Just inside the range.
    {kmBox, "1e302", 7, {}},          {mtBox, "1e299", 7, {}},          {gallonBox, "1e304", 7, {}},
    {dayBox, "2e303", 3, {}},         {hourBox, "4.99e304", 3, {}},     {minBox, "2.99e306", 3, {}},
    {celciusBox, "9.98e307", 2, {}},  {fahrBox, "-1e308", 2, {}},       {mgBox, "1.7976931348623157e308", 7, {}},
};
// clang-format on

class OverflowTest : public ::testing::TestWithParam<OverflowCase> {};

TEST_P(OverflowTest, StopsAtTheFirstResultBeyondTheRange)
{
    const OverflowCase& c = GetParam();
    const Recalculation r = convert(c.source, c.text);
    const std::vector<Box> order = sistersInWriteOrder(c.source);
    EXPECT_TRUE(r.acted());
    EXPECT_EQ(r.overflowAt(), c.overflowAt);
    EXPECT_EQ(targetsOf(r), std::vector<Box>(order.begin(), order.begin() + c.written));
    for (const std::string& text : textsOf(r))
        EXPECT_FALSE(text.empty());
}

INSTANTIATE_TEST_SUITE_P(Values, OverflowTest, ::testing::ValuesIn(kOverflowCases));

} // namespace
} // namespace tolvu
