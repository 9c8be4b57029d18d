// Random numbers of every magnitude, checked against the C library's own
// decimal conversions: "%.14e" is the value rounded to 15 significant
// digits, strtod the correctly rounded reading of a decimal text.
#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <regex>
#include <string>

#include "number_text.h"

namespace tolvu {
namespace {

constexpr int kRounds = 40'000;

std::uint64_t bits(double d)
{
    return std::bit_cast<std::uint64_t>(d);
}

struct Rounded15 {
    std::string scientific; // d.dddddddddddddde+XX
    double value;           // the nearest double to those 15 digits
    int exponent;
};

Rounded15 roundTo15(double x)
{
    char buf[40];
    std::snprintf(buf, sizeof buf, "%.14e", x);
    const char* e = std::strchr(buf, 'e');
    return {buf, std::strtod(buf, nullptr), std::atoi(e + 1)};
}

int significantDigits(std::string text)
{
    text.erase(std::min(text.find('E'), text.size()));
    std::erase_if(text, [](char c) { return c < '0' || c > '9'; });
    const std::size_t first = text.find_first_not_of('0');
    return first == std::string::npos ? 0 : static_cast<int>(text.size() - first);
}

// The number-text grammar: plain decimals below 1E+15 down to 0.0001,
// otherwise one digit before the point and a signed exponent of two or
// three digits; never a trailing zero after the point, never a lone point.
const std::regex kFixed(R"(-?(0|[1-9][0-9]{0,14})(\.[0-9]*[1-9])?)");
const std::regex kExponent(R"(-?[1-9](\.[0-9]*[1-9])?E[+-](0[1-9]|[1-9][0-9]|[12][0-9]{2}|3[0-2][0-9]))");

void checkFormatted(double x)
{
    const std::string text(formatNumber(x).view());
    const Rounded15 want = roundTo15(x);
    SCOPED_TRACE(want.scientific + " -> " + text);

    ASSERT_FALSE(text.empty());
    EXPECT_EQ(text.find_first_of("infa"), std::string::npos);
    EXPECT_NE(text, "-0");
    EXPECT_LE(significantDigits(text), 15);
    EXPECT_EQ(text.front() == '-', want.value < 0);

    const bool exponentForm = want.exponent < -4 || want.exponent >= 15;
    EXPECT_TRUE(std::regex_match(text, exponentForm ? kExponent : kFixed));

    // Only the very largest doubles round up to a text beyond the range.
    const ParsedNumber back = parseNumber(text);
    EXPECT_EQ(back.overflow, std::isinf(want.value));
    if (!back.overflow) {
        EXPECT_EQ(bits(back.value), bits(want.value));
    }
}

TEST(NumberTextProperty, RandomBitPatternsFormatToTheirFifteenDigitRounding)
{
    std::mt19937_64 rng(20240611);
    int checked = 0;
    while (checked < kRounds) {
        const double x = std::bit_cast<double>(rng());
        if (!std::isfinite(x) || x == 0.0) continue;
        checkFormatted(x);
        ++checked;
        if (::testing::Test::HasFailure()) return;
    }
}

// A decimal text of 1 to 30 digits with a point somewhere, maybe a sign and
// an exponent, maybe blanks between its characters.
std::string randomDecimal(std::mt19937_64& rng)
{
    std::uniform_int_distribution<int> digitCount(1, 30);
    std::uniform_int_distribution<int> digit(0, 9);
    std::uniform_int_distribution<int> exponent(-340, 330);
    std::uniform_int_distribution<int> coin(0, 3);
    std::string s;
    if (coin(rng) == 0) s += '-';
    const int n = digitCount(rng);
    const int point = std::uniform_int_distribution<int>(0, n)(rng);
    for (int i = 0; i < n; ++i) {
        if (i == point) s += '.';
        s += static_cast<char>('0' + digit(rng));
    }
    if (coin(rng) != 0) s += (coin(rng) ? "e" : "E") + std::to_string(exponent(rng));
    return s;
}

std::string withBlanks(const std::string& s, std::mt19937_64& rng)
{
    static const char kBlanks[] = {' ', '\t', '\n'};
    std::string out;
    for (char c : s) {
        if (rng() % 8 == 0) out += kBlanks[rng() % 3];
        out += c;
    }
    return out;
}

TEST(NumberTextProperty, RandomDecimalTextsReadAsTheNearestDouble)
{
    std::mt19937_64 rng(77);
    for (int i = 0; i < kRounds; ++i) {
        const std::string plain = randomDecimal(rng);
        const std::string typed = withBlanks(plain, rng);
        const double want = std::strtod(plain.c_str(), nullptr);
        const bool beyond = std::isinf(want);
        const ParsedNumber got = parseNumber(typed);
        SCOPED_TRACE(::testing::PrintToString(typed));
        ASSERT_EQ(got.overflow, beyond);
        if (!beyond) {
            ASSERT_EQ(bits(got.value), bits(want)) << got.value << " vs " << want;
            if (want != 0.0) checkFormatted(want);
        }
        if (::testing::Test::HasFailure()) return;
    }
}

} // namespace
} // namespace tolvu
