#include <gtest/gtest.h>

#include <string>

#include "number_text.h"

namespace tolvu {
namespace {

struct FormatCase {
    double value;
    const char* text;
};

class FormatTest : public ::testing::TestWithParam<FormatCase> {};

TEST_P(FormatTest, WritesFifteenDigitNumberText)
{
    EXPECT_EQ(formatNumber(GetParam().value).view(), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(Values, FormatTest,
                         ::testing::Values(FormatCase{0.0, "0"}, FormatCase{-0.0, "0"}, FormatCase{0.0254, "0.0254"},
                                           FormatCase{1.0000005399999998, "1.00000054"},
                                           FormatCase{1.1574074074074073e-05, "1.15740740740741E-05"},
                                           FormatCase{1e308, "1E+308"}, FormatCase{-5.684341886080802e-14, "-5.6843418860808E-14"},
                                           FormatCase{999999999999999.9, "1E+15"}, FormatCase{0.0001, "0.0001"},
                                           FormatCase{233.14999999999998, "233.15"}));

}  // namespace
}  // namespace tolvu
