// The parse and the format at the places random inputs rarely reach: the
// characters that end a number, texts without digits, the edges of the
// double range and the digits where the format changes its form.
#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <limits>
#include <string>

#include "engine_test_support.h"
#include "number_text.h"

namespace tolvu {
namespace {

struct ParseCase {
    std::string text;
    double value;
    bool overflow = false;
};

void PrintTo(const ParseCase& c, std::ostream* os)
{
    *os << testing_support::shortText(c.text);
}

constexpr double kMin = std::numeric_limits<double>::denorm_min();
constexpr double kMax = std::numeric_limits<double>::max();
const std::string k400Zeros(400, '0');

// clang-format off
const ParseCase kParseCases[] = {
    // Blanks, tabs and line feeds vanish wherever they stand; CR does not.
    {"1 000", 1000.0}, {"1\t5", 15.0}, {"- 5", -5.0}, {"1 e - 3", 0.001}, {"1\r5", 1.0}, {"\r5", 0.0},
    // Reading stops at the first character that cannot continue the number.
    {"12abc3", 12.0}, {"1,5", 1.0}, {"1.2.3", 1.2}, {"1e3.5", 1000.0}, {"1d3", 1.0}, {"0x10", 0.0},
    {"&H10", 0.0}, {"&O17", 0.0}, {"1e+-3", 1.0}, {"1e", 1.0}, {"1.5E+", 1.5}, {"1\xC2\xA0" "000", 1.0},
    // No digit at all reads as 0.
    {"", 0.0}, {"abc", 0.0}, {"   ", 0.0}, {"-", 0.0}, {"+", 0.0}, {".", 0.0}, {"-.", 0.0}, {"+-5", 0.0},
    {"--5", 0.0}, {"e5", 0.0}, {".e5", 0.0}, {"inf", 0.0}, {"nan", 0.0}, {"\xE2\x88\x92" "5", 0.0},
    // Signs, points and exponents.
    {".5", 0.5}, {"5.", 5.0}, {"+5", 5.0}, {"-0", -0.0}, {"1.e2", 100.0}, {"1e0003", 1000.0},
    {"9007199254740993", 9007199254740992.0}, {"9007199254740993.0000000000000000001", 9007199254740994.0},
    // The edges of the double range.
    {"1.7976931348623158e308", kMax}, {"0.001e311", 1e308}, {"3e-324", kMin}, {"-4.9e-324", -kMin},
    {"2e-324", 0.0}, {"-1e-400", -0.0}, {"1e-99999999999999999999", 0.0}, {"0e999999", 0.0},
    {"0." + k400Zeros + "1e709", 1e308}, {k400Zeros + "1e-300", 1e-300},
    // Beyond the range: flagged, never infinite.
    {"1e999", 0.0, true}, {"-1e309", 0.0, true}, {"1.7976931348623159e308", 0.0, true},
    {"1e99999999999999999999", 0.0, true}, {std::string(400, '9'), 0.0, true},
    {"0." + k400Zeros + "1e710", 0.0, true}, {"1.79769313486232E+308", 0.0, true},
};
// clang-format on

class ParseTest : public ::testing::TestWithParam<ParseCase> {};

TEST_P(ParseTest, ReadsTheLeadingNumber)
{
    const ParseCase& c = GetParam();
    const ParsedNumber got = parseNumber(c.text);
    EXPECT_EQ(got.overflow, c.overflow);
    // Bit patterns, so -0.0 and the last bit of a rounding count.
    const double want = c.overflow ? got.value : c.value;
    EXPECT_EQ(std::bit_cast<std::uint64_t>(got.value), std::bit_cast<std::uint64_t>(want));
    EXPECT_TRUE(std::isfinite(got.value));
}

INSTANTIATE_TEST_SUITE_P(Texts, ParseTest, ::testing::ValuesIn(kParseCases));

TEST(Parse, MegabyteTexts)
{
    EXPECT_TRUE(parseNumber(std::string(1'000'000, '7')).overflow);
    EXPECT_EQ(parseNumber(std::string(1'000'000, ' ')).value, 0.0);
    const ParsedNumber tiny = parseNumber("0." + std::string(1'000'000, '0') + "1");
    EXPECT_EQ(tiny.value, 0.0);
    EXPECT_FALSE(tiny.overflow);
}

// Blanks aside, did the number take the whole text? Only "whole" texts pass
// the command line's --strict.
TEST(Parse, TellsWhetherTheNumberWasTheWholeText)
{
    for (const char* t : {" 1 000 ", "+3", "-.5", "5.", "1e5", "1 e - 3", "1e999", "1e-400"})
        EXPECT_TRUE(parseNumber(t).whole) << t;
    for (const char* t : {"", " ", ".", "-", "1e", "1e+", "1,5", "abc", "12abc", "1.2.3", "1e3.5", "5\r"})
        EXPECT_FALSE(parseNumber(t).whole) << t;
}

struct FormatCase {
    double value;
    const char* text;
};

void PrintTo(const FormatCase& c, std::ostream* os)
{
    char value[32];
    std::snprintf(value, sizeof value, "%.17g", c.value);
    *os << value << " as " << ::testing::PrintToString(c.text);
}

// clang-format off
const FormatCase kFormatCases[] = {
    {0.0, "0"}, {-0.0, "0"}, {-1.0, "-1"}, {0.5, "0.5"}, {-0.25, "-0.25"}, {233.14999999999998, "233.15"},
    {1.0 / 3.0, "0.333333333333333"}, {-2.0 / 3.0, "-0.666666666666667"},
    // Rounding to 15 digits that carries into a new digit, or a new form.
    {999999999999999.9, "1E+15"}, {99999999999999.99, "100000000000000"}, {0.9999999999999999, "1"},
    {9.999999999999999e-5, "0.0001"}, {-9.999999999999999e-6, "-1E-05"},
    {1.7976931348623157e308, "1.79769313486232E+308"},
    // Where the exponent form begins, on both sides; two and three exponent digits.
    {0.0001, "0.0001"}, {0.0000999, "9.99E-05"}, {999999999999999.0, "999999999999999"}, {1e15, "1E+15"},
    {-1.5e15, "-1.5E+15"}, {1e99, "1E+99"}, {1e100, "1E+100"}, {1e-100, "1E-100"},
    {-4.9406564584124654e-324, "-4.94065645841247E-324"},
    // No number text for what is not a finite number.
    {std::numeric_limits<double>::infinity(), ""}, {-std::numeric_limits<double>::infinity(), ""},
    {std::numeric_limits<double>::quiet_NaN(), ""},
};
// clang-format on

class FormatTest : public ::testing::TestWithParam<FormatCase> {};

TEST_P(FormatTest, WritesFifteenDigitNumberText)
{
    EXPECT_EQ(formatNumber(GetParam().value).view(), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(Values, FormatTest, ::testing::ValuesIn(kFormatCases));

} // namespace
} // namespace tolvu
