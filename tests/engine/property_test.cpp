// Random doubles of every magnitude and random decimal texts, checked
// against the C library's own conversions.
#include <gtest/gtest.h>

#include <bit>
#include <random>
#include <string>

#include "number_checks.h"

namespace tolvu {
namespace {

constexpr int kRounds = 40'000;

TEST(NumberTextProperty, RandomDoublesFormatToTheirFifteenDigitRounding)
{
    std::mt19937_64 rng(20240611);
    for (int i = 0; i < kRounds; ++i) {
        const double x = std::bit_cast<double>(rng());
        ASSERT_EQ(checks::formatFault(x), "") << x;
    }
}

// Texts of 1 to 30 digits with a point somewhere, maybe a sign and an
// exponent, maybe blanks between their characters.
TEST(NumberTextProperty, RandomDecimalTextsReadAsTheNearestDouble)
{
    std::mt19937_64 rng(77);
    const auto below = [&rng](int n) { return static_cast<int>(rng() % static_cast<unsigned>(n)); };
    for (int i = 0; i < kRounds; ++i) {
        std::string text = below(4) == 0 ? "-" : "";
        const int digits = 1 + below(30);
        const int point = below(digits + 1);
        for (int d = 0; d < digits; ++d)
            text += (d == point ? "." : "") + std::string(1, static_cast<char>('0' + below(10)));
        if (below(4) != 0) text += (below(2) ? "e" : "E") + std::to_string(below(671) - 340);
        for (std::size_t at = text.size(); at > 0; --at)
            if (below(8) == 0) text.insert(at - 1, 1, " \t\n"[below(3)]);
        ASSERT_EQ(checks::parseFault(text), "") << text;
    }
}

} // namespace
} // namespace tolvu
