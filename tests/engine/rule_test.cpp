// The recalculation rule as a whole: which boxes it writes, in which order,
// when it empties them and where it stops on a result beyond the double
// range.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "engine_test_support.h"
#include "rule.h"

namespace tolvu {
namespace {

using namespace testing_support;

std::vector<std::string> textsOf(const Recalculation& r)
{
    std::vector<std::string> out;
    for (const Write& w : r.writes())
        out.emplace_back(w.text.view());
    return out;
}

// ---- Write order ------------------------------------------------------------

struct OrderCase {
    Box source;
    std::vector<Box> order;
};

void PrintTo(const OrderCase& c, std::ostream* os)
{
    *os << boxInfo(c.source).name;
}

const OrderCase kOrderCases[] = {
    {inchBox, {mmBox, cmBox, mBox, kmBox, feetBox, yardBox, mileBox}},
    {mmBox, {cmBox, mBox, kmBox, inchBox, feetBox, yardBox, mileBox}},
    {mileBox, {mmBox, cmBox, mBox, kmBox, inchBox, feetBox, yardBox}},
    {lbsBox, {mgBox, gBox, kgBox, mtBox, ozBox, stBox, ltBox}},
    {mgBox, {gBox, kgBox, mtBox, ozBox, lbsBox, stBox, ltBox}},
    {pintBox, {mlBox, clBox, dlBox, lBox, flozBox, quartBox, gallonBox}},
    {mlBox, {clBox, dlBox, lBox, flozBox, pintBox, quartBox, gallonBox}},
    {celciusBox, {kelvinBox, fahrBox}},
    {kelvinBox, {celciusBox, fahrBox}},
    {fahrBox, {celciusBox, kelvinBox}},
    {secBox, {minBox, hourBox, dayBox}},
    {hourBox, {secBox, minBox, dayBox}},
};

class WriteOrderTest : public ::testing::TestWithParam<OrderCase> {};

TEST_P(WriteOrderTest, ResultsAndEmptyingFollowTheGroupOrder)
{
    const OrderCase& c = GetParam();
    EXPECT_EQ(targetsOf(convert(c.source, "3")), c.order);
    EXPECT_EQ(targetsOf(recalculate(c.source, vk::Back, 0, "")), c.order);
}

INSTANTIATE_TEST_SUITE_P(Sources, WriteOrderTest, ::testing::ValuesIn(kOrderCases));

TEST(Rule, EveryBoxWritesAllItsSistersAndNeverItself)
{
    for (const BoxInfo& info : allBoxes()) {
        const std::vector<Box> sisters = sistersInWriteOrder(info.box);
        const Recalculation r = convert(info.box, "12.5");
        EXPECT_TRUE(r.acted());
        EXPECT_EQ(targetsOf(r), sisters) << info.name;
        EXPECT_FALSE(r.overflowAt().has_value()) << info.name;
        for (const std::string& text : textsOf(r))
            EXPECT_FALSE(text.empty()) << info.name;
    }
}

// ---- Emptying ---------------------------------------------------------------

TEST(Rule, AnEmptyBoxEmptiesEverySisterWhateverKeyPassedTheFilter)
{
    const std::int16_t keys[][2] = {{vk::Back, 0}, {vk::Delete, 0}, {vk::Delete, 1}, {vk::Insert, 1}, {48, 2}};
    for (const BoxInfo& info : allBoxes()) {
        for (const auto& [key, shift] : keys) {
            const Recalculation r = recalculate(info.box, key, shift, "");
            EXPECT_TRUE(r.acted());
            EXPECT_EQ(targetsOf(r), sistersInWriteOrder(info.box)) << info.name << " key " << key;
            for (const std::string& text : textsOf(r))
                EXPECT_EQ(text, "") << info.name;
        }
    }
}

// ---- Texts that read as zero ------------------------------------------------

struct ZeroCase {
    Box source;
    std::vector<std::string> texts; // in write order
};

void PrintTo(const ZeroCase& c, std::ostream* os)
{
    *os << boxInfo(c.source).name;
}

const ZeroCase kZeroCases[] = {
    {kmBox, std::vector<std::string>(7, "0")},
    {ltBox, std::vector<std::string>(7, "0")},
    {quartBox, std::vector<std::string>(7, "0")},
    {dayBox, std::vector<std::string>(3, "0")},
    {celciusBox, {"273.15", "32"}},
    {kelvinBox, {"-273.15", "-459.67"}},
    {fahrBox, {"-17.7777777777778", "255.372222222222"}},
};

class ZeroTextTest : public ::testing::TestWithParam<ZeroCase> {};

TEST_P(ZeroTextTest, BlanksLettersAndLoneSignsShowTheConvertedZero)
{
    for (const char* text : {" ", "   ", "\t", ".", "-", "+", "-.", "abc", "&H10", "0", "-0", "000", "1e-400"}) {
        EXPECT_EQ(textsOf(convert(GetParam().source, text)), GetParam().texts) << '"' << text << '"';
    }
}

INSTANTIATE_TEST_SUITE_P(Groups, ZeroTextTest, ::testing::ValuesIn(kZeroCases));

TEST(Rule, TheSourceTextIsReadNotNormalised)
{
    // The rule never writes the source, so "007" stays as typed; what the
    // sisters show is the same as for "7".
    EXPECT_EQ(textsOf(convert(Box::kgBox, "007")), textsOf(convert(Box::kgBox, "7")));
    EXPECT_EQ(textsOf(convert(Box::kgBox, "7.000")), textsOf(convert(Box::kgBox, "7")));
    EXPECT_EQ(textsOf(convert(Box::kgBox, "7abc")), textsOf(convert(Box::kgBox, "7")));
    EXPECT_EQ(textsOf(convert(Box::kgBox, "7e0")), textsOf(convert(Box::kgBox, "7")));
    EXPECT_NE(textsOf(convert(Box::kgBox, "70")), textsOf(convert(Box::kgBox, "7")));
}

TEST(Rule, EveryPassingKeyRecalculatesTheSameWay)
{
    // Ctrl+digit and Shift+Insert recalculate from the text as it stands.
    const std::vector<std::string> want = textsOf(convert(Box::minBox, "-90"));
    for (const auto& [key, shift] :
         std::vector<std::pair<int, int>>{{53, 2}, {45, 1}, {8, 0}, {46, 1}, {190, 0}, {101, 0}}) {
        const Recalculation r =
            recalculate(Box::minBox, static_cast<std::int16_t>(key), static_cast<std::int16_t>(shift), "-90");
        EXPECT_EQ(textsOf(r), want) << "key " << key << " shift " << shift;
    }
    EXPECT_EQ(want, (std::vector<std::string>{"-5400", "-1.5", "-0.0625"}));
}

// ---- Results beyond the double range -----------------------------------------

struct OverflowCase {
    Box source;
    const char* text;
    std::size_t written;           // leading targets written before the stop
    std::optional<Box> overflowAt; // nullopt when every sister is written
};

void PrintTo(const OverflowCase& c, std::ostream* os)
{
    *os << shortText(c.text) << " in " << boxInfo(c.source).name;
}

const std::string kFourHundredNines(400, '9');

// clang-format off
const OverflowCase kOverflowCases[] = {
    // The first target fails: nothing is written.
    {kmBox, "1e303", 0, mmBox},       {mileBox, "1.2e302", 0, mmBox},  {mtBox, "1e300", 0, mgBox},
    {gallonBox, "1e305", 0, mlBox},   {dayBox, "2.1e303", 0, secBox},  {hourBox, "5e304", 0, secBox},
    {minBox, "-3e306", 0, secBox},    {cmBox, "-1.7976931348623157e308", 0, mmBox},
    // A number the parse cannot hold fails at the first target in any row.
    {mmBox, "1e999", 0, cmBox},       {fahrBox, "-1e999", 0, celciusBox}, {secBox, "1e99999999999999999999", 0, minBox},
    {mgBox, kFourHundredNines.c_str(), 0, gBox},
    // Celsius and kelvin fail only at Fahrenheit, after the first sister.
    {celciusBox, "1e308", 1, fahrBox}, {celciusBox, "-1e308", 1, fahrBox}, {kelvinBox, "1e308", 1, fahrBox},
    {celciusBox, "1.7976931348623157e308", 1, fahrBox},
    // Just inside the range.
    {kmBox, "1e302", 7, {}},          {mtBox, "1e299", 7, {}},          {gallonBox, "1e304", 7, {}},
    {dayBox, "2e303", 3, {}},         {hourBox, "4.99e304", 3, {}},     {minBox, "2.99e306", 3, {}},
    {celciusBox, "9.98e307", 2, {}},  {kelvinBox, "-9.98e307", 2, {}},  {fahrBox, "-1e308", 2, {}},
    {mmBox, "1e308", 7, {}},          {mlBox, "1e308", 7, {}},          {secBox, "1e308", 3, {}},
    {mgBox, "1.7976931348623157e308", 7, {}},
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
    for (const std::string& text : textsOf(r)) {
        EXPECT_FALSE(text.empty());
        EXPECT_FALSE(looksNonFinite(text)) << text;
    }
}

INSTANTIATE_TEST_SUITE_P(Values, OverflowTest, ::testing::ValuesIn(kOverflowCases));

TEST(Overflow, TheFirstSisterShowsTheValueBeforeFahrenheitFails)
{
    EXPECT_EQ(textsOf(convert(Box::celciusBox, "1e308")), std::vector<std::string>{"1E+308"});
    EXPECT_EQ(textsOf(convert(Box::kelvinBox, "1e308")), std::vector<std::string>{"1E+308"});
}

// Whatever the text, the writes are a prefix of the write order and the
// stop, if any, is the next sister; no text ever spells a non-number.
TEST(Overflow, ExtremeTextsKeepTheWritesConsistent)
{
    // clang-format off
    const char* const texts[] = {"1e308", "-1e308", "1.7976931348623157e308", "-1.7976931348623157e308",
                                 "1e999", "-1e999", "4.9e-324", "-4.9e-324", "1e-400", "-0", "9.99e307"};
    // clang-format on
    for (const BoxInfo& info : allBoxes()) {
        const std::vector<Box> order = sistersInWriteOrder(info.box);
        for (const char* text : texts) {
            const Recalculation r = convert(info.box, text);
            SCOPED_TRACE(std::string(text) + " in " + std::string(info.name));
            const std::size_t n = r.writes().size();
            ASSERT_LE(n, order.size());
            EXPECT_EQ(targetsOf(r), std::vector<Box>(order.begin(), order.begin() + n));
            if (r.overflowAt()) {
                ASSERT_LT(n, order.size());
                EXPECT_EQ(*r.overflowAt(), order[n]);
            } else {
                EXPECT_EQ(n, order.size());
            }
            for (const std::string& t : textsOf(r))
                EXPECT_FALSE(t.empty() || looksNonFinite(t)) << t;
        }
    }
}

} // namespace
} // namespace tolvu
