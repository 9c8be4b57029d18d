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

// ---- Reading a box's text -------------------------------------------------

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

// clang-format off
const ParseCase kParseCases[] = {
    // Blanks, tabs and line feeds vanish wherever they stand; CR does not.
    {"1 000", 1000.0}, {"1\t5", 15.0}, {"1\n5", 15.0}, {"  42  ", 42.0}, {"- 5", -5.0},
    {"1e 3", 1000.0}, {"1 e - 3", 0.001}, {"1\r5", 1.0}, {"\r5", 0.0},
    // Reading stops at the first character that cannot continue the number.
    {"12abc3", 12.0}, {"1,5", 1.0}, {"1.2.3", 1.2}, {"1e3.5", 1000.0}, {"5$", 5.0}, {"1_000", 1.0},
    {"1d3", 1.0}, {"0x10", 0.0}, {"&H10", 0.0}, {"&O17", 0.0}, {"1e+-3", 1.0},
    // No digit at all reads as 0.
    {"", 0.0}, {"abc", 0.0}, {"   ", 0.0}, {"-", 0.0}, {"+", 0.0}, {".", 0.0}, {"-.", 0.0},
    {"+-5", 0.0}, {"--5", 0.0}, {"e5", 0.0}, {".e5", 0.0}, {"inf", 0.0}, {"-inf", 0.0},
    {"nan", 0.0}, {"Infinity", 0.0}, {"\xE2\x88\x92" "5", 0.0}, {"1\xC2\xA0" "000", 1.0},
    // Signs, points and exponents.
    {".5", 0.5}, {"5.", 5.0}, {"-.5", -0.5}, {"+5", 5.0}, {"-0", -0.0}, {"007", 7.0},
    {"1e3", 1000.0}, {"1E+3", 1000.0}, {"1e-3", 0.001}, {"1.e2", 100.0}, {"1e", 1.0},
    {"1e+", 1.0}, {"1.5E", 1.5}, {"-2.5e-1", -0.25}, {"1e0003", 1000.0},
    // Correct rounding: the nearest double, halfway cases to even.
    {"0.1", 0.1}, {"0.3", 0.3}, {"8582309068.756445", 8582309068.756445},
    {"0.1000000000000000055511151231257827021181583404541015625", 0.1},
    {"9007199254740993", 9007199254740992.0}, {"9007199254740993.0000000000000000001", 9007199254740994.0},
    {"9007199254740995", 9007199254740996.0},
    {"123456789012345678901234567890", 123456789012345678901234567890.0},
    // The edges of the double range.
    {"1.7976931348623157e308", kMax}, {"-1.7976931348623157e308", -kMax}, {"1.7976931348623158e308", kMax},
    {"1e308", 1e308}, {"0.001e311", 1e308}, {"100e306", 1e308}, {"2.2250738585072014e-308", 2.2250738585072014e-308},
    {"4.9e-324", kMin}, {"3e-324", kMin}, {"-4.9e-324", -kMin}, {"1e-320", 1e-320}, {"2e-324", 0.0},
    {"1e-400", 0.0}, {"-1e-400", -0.0}, {"1e-99999999999999999999", 0.0}, {"0e999999", 0.0},
    {"0.0000000000000000000000000000001e-300", 0.0},
    {"0." + std::string(400, '0') + "1e709", 1e308}, {std::string(400, '0') + "1e-300", 1e-300},
    // Beyond the range: flagged, never infinite.
    {"1e999", 0.0, true}, {"-1e999", 0.0, true}, {"1e309", 0.0, true}, {"1.7976931348623159e308", 0.0, true},
    {"1000e306", 0.0, true}, {"1e99999999999999999999", 0.0, true}, {std::string(400, '9'), 0.0, true},
    {"-" + std::string(400, '1'), 0.0, true}, {"0." + std::string(400, '0') + "1e710", 0.0, true},
    // The fifteen-digit text of the very largest doubles lies beyond the range.
    {"1.79769313486232E+308", 0.0, true},
};
// clang-format on

class ParseTest : public ::testing::TestWithParam<ParseCase> {};

TEST_P(ParseTest, ReadsTheLeadingNumber)
{
    const ParseCase& c = GetParam();
    const ParsedNumber got = parseNumber(c.text);
    EXPECT_EQ(got.overflow, c.overflow);
    if (!c.overflow) {
        // Bit patterns, so -0.0 and the last bit of a rounding count.
        EXPECT_EQ(std::bit_cast<std::uint64_t>(got.value), std::bit_cast<std::uint64_t>(c.value))
            << "read " << got.value << ", want " << c.value;
    }
    EXPECT_TRUE(std::isfinite(got.value));
}

INSTANTIATE_TEST_SUITE_P(Texts, ParseTest, ::testing::ValuesIn(kParseCases));

TEST(Parse, LongTextsStayLinear)
{
    // A million digits read as the overflow they are, a million blanks as 0.
    EXPECT_TRUE(parseNumber(std::string(1'000'000, '7')).overflow);
    EXPECT_EQ(parseNumber(std::string(1'000'000, ' ')).value, 0.0);
    const std::string tiny = "0." + std::string(1'000'000, '0') + "1";
    EXPECT_EQ(parseNumber(tiny).value, 0.0);
    EXPECT_FALSE(parseNumber(tiny).overflow);
}

// ---- Writing a number -----------------------------------------------------

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
    {0.0, "0"}, {-0.0, "0"}, {1.0, "1"}, {-1.0, "-1"}, {10.0, "10"}, {100.5, "100.5"},
    {0.5, "0.5"}, {-0.25, "-0.25"}, {0.0254, "0.0254"}, {233.14999999999998, "233.15"},
    {98.60000000000001, "98.6"}, {-459.66999999999996, "-459.67"}, {1.0000005399999998, "1.00000054"},
    {0.016666666666666666, "0.0166666666666667"}, {-0.041666666666666664, "-0.0416666666666667"},
    {0.9842069999999999, "0.984207"}, {123456789012345.0, "123456789012345"},
    {1234567890123456.0, "1.23456789012346E+15"}, {0.1 + 0.2, "0.3"}, {1.0 / 3.0, "0.333333333333333"},
    {2.0 / 3.0, "0.666666666666667"}, {-2.0 / 3.0, "-0.666666666666667"},
    // Rounding to 15 digits that carries into a new digit.
    {999999999999999.9, "1E+15"}, {99999999999999.99, "100000000000000"}, {9.999999999999998, "10"},
    {0.9999999999999999, "1"}, {9.999999999999999e-5, "0.0001"}, {-9.999999999999999e-5, "-0.0001"},
    {9.999999999999999e-6, "1E-05"}, {1.7976931348623157e308, "1.79769313486232E+308"},
    // Where the exponent form begins, on both sides.
    {0.0001, "0.0001"}, {0.00012345, "0.00012345"}, {0.0000999, "9.99E-05"}, {0.00009999999999999, "9.999999999999E-05"},
    {99999999999999.9, "99999999999999.9"}, {999999999999999.0, "999999999999999"}, {1e15, "1E+15"},
    {-1e15, "-1E+15"}, {1.5e15, "1.5E+15"}, {1e16, "1E+16"},
    // Two and three exponent digits.
    {1e-5, "1E-05"}, {1.15740740740741e-05, "1.15740740740741E-05"}, {-5.684341886080802e-14, "-5.6843418860808E-14"},
    {1e99, "1E+99"}, {1e100, "1E+100"}, {1e-99, "1E-99"}, {1e-100, "1E-100"}, {1e308, "1E+308"}, {-1e308, "-1E+308"},
    {2.2250738585072014e-308, "2.2250738585072E-308"}, {4.9406564584124654e-324, "4.94065645841247E-324"},
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

TEST(Format, TextsReadBackAsTheyWereWritten)
{
    // A written text typed into another box must read as the same number.
    for (const FormatCase& c : kFormatCases) {
        if (*c.text == '\0') continue;
        const ParsedNumber back = parseNumber(formatNumber(c.value).view());
        if (std::fabs(c.value) > 1.7976931348623e308) {
            EXPECT_TRUE(back.overflow) << c.text; // rounded up past the largest double
            continue;
        }
        EXPECT_FALSE(back.overflow) << c.text;
        EXPECT_EQ(formatNumber(back.value).view(), c.text);
    }
}

} // namespace
} // namespace tolvu
