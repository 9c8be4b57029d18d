// Every conversion of every group, through the rule a key release runs.
// The expected numbers come from the conversion tables typed in below as
// plain arithmetic, and from worked examples with known answers.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

#include "engine_test_support.h"
#include "rule.h"

namespace tolvu {
namespace {

using namespace testing_support;

// One cell of a table: multiply or divide by a constant, or (for the
// temperatures) a fixed sequence of steps.
struct Cell {
    Box from;
    Box to;
    char op; // '*', '/', or 's' for steps
    double k = 0.0;
    double (*steps)(double) = nullptr;

    double expected(double v) const { return op == '*' ? v * k : op == '/' ? v / k : steps(v); }
};

void PrintTo(const Cell& c, std::ostream* os)
{
    *os << boxInfo(c.from).name << " -> " << boxInfo(c.to).name;
}

struct Op {
    char op;
    double k;
};
constexpr auto X = [](double k) { return Op{'*', k}; };
constexpr auto D = [](double k) { return Op{'/', k}; };
constexpr Op __{'-', 0.0};

// A row lists its cells in the write order of the source's group.
struct Row {
    Box from;
    std::vector<Op> cells;
};

// clang-format off
const std::vector<Row> kSingleOpRows = {
    {mmBox,   {__,          D(10.0),     D(1000.0),   D(1000000.0), X(0.0393701), X(0.00328084), X(0.00109361), X(6.21371e-07)}},
    {cmBox,   {X(10.0),     __,          D(100.0),    D(100000.0),  X(0.393701),  X(0.0328084),  X(0.0109361),  X(6.21371e-06)}},
    {mBox,    {X(1000.0),   X(100.0),    __,          D(1000.0),    X(39.3701),   X(3.28084),    X(1.09361),    X(0.000621371)}},
    {kmBox,   {X(1000000.0), X(100000.0), X(1000.0),  __,           X(39370.1),   X(3280.84),    X(1093.61),    X(0.621371)}},
    {inchBox, {X(25.4),     X(2.54),     X(0.0254),   X(2.54e-05),  __,           X(0.0833333),  X(0.0277778),  X(1.57828e-05)}},
    {feetBox, {X(304.8),    X(30.48),    X(0.3048),   X(0.0003048), X(12.0),      __,            X(0.333333),   X(0.000189394)}},
    {yardBox, {X(914.4),    X(91.44),    X(0.9144),   X(0.0009144), X(36.0),      X(3.0),        __,            X(0.000568182)}},
    {mileBox, {X(1609340.0), X(160934.0), X(1609.34), X(1.60934),   X(63360.0),   X(5280.0),     X(1760.0),     __}},

    {mgBox,  {__,                X(0.001),     X(1e-06),     X(1e-09),      X(3.5274e-05), X(2.20462e-06), X(1.10231e-09), X(9.84207e-10)}},
    {gBox,   {X(1000.0),         __,           X(0.001),     X(1e-06),      X(0.035274),   X(0.00220462),  X(1.10231e-06), X(9.84207e-07)}},
    {kgBox,  {X(1000000.0),      X(1000.0),    __,           X(0.001),      X(35.274),     X(2.20462),     X(0.00110231),  X(0.000984207)}},
    {mtBox,  {X(1000000000.0),   X(1000000.0), X(1000.0),    __,            X(35274.0),    X(2204.62),     X(1.10231),     X(0.984206)}},
    {ozBox,  {X(28349.5),        X(28.3495),   X(0.0283495), X(2.83495e-05), __,           X(0.0625),      X(3.125e-05),   X(2.79018e-05)}},
    {lbsBox, {X(453592.0),       X(453.592),   X(0.453592),  X(0.000453592), X(16.0),      __,             X(0.0005),      X(0.000446429)}},
    {stBox,  {X(907185000.0),    X(907185.0),  X(907.185),   X(0.907185),   X(32000.0),    X(2000.0),      __,             X(0.892857)}},
    {ltBox,  {X(1016050000.0),   X(1016050.0), X(1016.05),   X(1.01605),    X(35840.0),    X(2240.0),      X(1.12),        __}},

    {mlBox,     {__,          X(0.1),     X(0.01),     X(0.001),     X(0.033814), X(0.00211338), X(0.00105669), X(0.000264172)}},
    {clBox,     {X(10.0),     __,         X(0.1),      X(0.01),      X(0.33814),  X(0.0211338),  X(0.0105669),  X(0.00264172)}},
    {dlBox,     {X(100.0),    X(10.0),    __,          X(0.1),       X(3.3814),   X(0.211338),   X(0.105669),   X(0.0264172)}},
    {lBox,      {X(1000.0),   X(100.0),   X(10.0),     __,           X(33.814),   X(2.11338),    X(1.05669),    X(0.264172)}},
    {flozBox,   {X(29.5735),  X(2.95735), X(0.295735), X(0.0295735), __,          X(0.0625),     X(0.03125),    X(0.0078125)}},
    {pintBox,   {X(473.177),  X(47.3176), X(4.73176),  X(0.473176),  X(16.0),     __,            X(0.5),        X(0.125)}},
    {quartBox,  {X(946.353),  X(94.6353), X(9.46353),  X(0.946353),  X(32.0),     X(2.0),        __,            X(0.25)}},
    {gallonBox, {X(3785.41),  X(378.541), X(37.8541),  X(3.78541),   X(128.0),    X(8.0),        X(4.0),        __}},

    {secBox,  {__,          D(60.0),   D(3600.0), D(86400.0)}},
    {minBox,  {X(60.0),     __,        D(60.0),   D(1440.0)}},
    {hourBox, {X(3600.0),   X(60.0),   __,        D(24.0)}},
    {dayBox,  {X(86400.0),  X(1440.0), X(24.0),   __}},
};
// clang-format on

// The temperature formulas step by step, each one starting again from v;
// C++ evaluates left to right and nothing is fused, so every operator below
// is one rounded double operation in the order shown.
// clang-format off
const Cell kTemperatureCells[] = {
    {celciusBox, kelvinBox,  's', 0.0, [](double v) { return v + 273.15; }},
    {celciusBox, fahrBox,    's', 0.0, [](double v) { return (9.0 / 5.0) * v + 32.0; }},
    {kelvinBox,  celciusBox, 's', 0.0, [](double v) { return v - 273.15; }},
    {kelvinBox,  fahrBox,    's', 0.0, [](double v) { return (v - 273.15) * (9.0 / 5.0) + 32.0; }},
    {fahrBox,    celciusBox, 's', 0.0, [](double v) { return (v - 32.0) * (5.0 / 9.0); }},
    {fahrBox,    kelvinBox,  's', 0.0, [](double v) { return (v - 32.0) * (5.0 / 9.0) + 273.15; }},
};
// clang-format on

std::vector<Cell> allCells()
{
    std::vector<Cell> cells;
    for (const Row& row : kSingleOpRows) {
        const std::vector<Box>& columns = membersOf(row.from);
        EXPECT_EQ(row.cells.size(), columns.size()) << boxInfo(row.from).name;
        for (std::size_t i = 0; i < row.cells.size() && i < columns.size(); ++i) {
            if (row.cells[i].op != '-') cells.push_back({row.from, columns[i], row.cells[i].op, row.cells[i].k});
        }
    }
    cells.insert(cells.end(), std::begin(kTemperatureCells), std::end(kTemperatureCells));
    return cells;
}

TEST(FormulaTable, HoldsEveryOrderedPairOfSisters)
{
    EXPECT_EQ(allCells().size(), 186u);
}

// Besides small, negative and subnormal values, inputs whose results land
// where a division and the product with the rounded reciprocal (x / 10
// against x * 0.1) differ in the fifteenth digit, so a formula that uses the
// other operation shows.
const char* const kInputs[] = {"7",
                               "-0.0123",
                               "-2.5e-310",
                               "8582309068.756445",
                               "8233998555.548365",
                               "5749732334.48539",
                               "2723220878.447739",
                               "424723525.836183"};

class FormulaTest : public ::testing::TestWithParam<Cell> {};

TEST_P(FormulaTest, ConvertsByTheTableOperation)
{
    const Cell& c = GetParam();
    for (const char* input : kInputs) {
        const double v = std::strtod(input, nullptr);
        EXPECT_EQ(writtenText(convert(c.from, input), c.to), formatNumber(c.expected(v)).view()) << "input " << input;
    }
}

INSTANTIATE_TEST_SUITE_P(AllPairs, FormulaTest, ::testing::ValuesIn(allCells()),
                         [](const ::testing::TestParamInfo<Cell>& info) {
                             return std::string(boxInfo(info.param.from).name) + "_to_" +
                                    std::string(boxInfo(info.param.to).name);
                         });

// Worked examples, written as the boxes show them: they pin the format of
// typical results, the step order of the temperatures, texts that read as
// zero and results that are subnormal or never return to the start.
struct Example {
    Box source;
    const char* text;
    std::vector<std::pair<Box, const char*>> results;
};

void PrintTo(const Example& e, std::ostream* os)
{
    *os << ::testing::PrintToString(e.text) << " in " << boxInfo(e.source).name;
}

// clang-format off
const Example kExamples[] = {
    {inchBox, "1", {{mmBox, "25.4"}, {kmBox, "2.54E-05"}, {feetBox, "0.0833333"}, {mileBox, "1.57828E-05"}}},
    {feetBox, "3", {{yardBox, "0.999999"}}},        {mmBox, "25.4", {{inchBox, "1.00000054"}}},
    {mBox, "1609.34", {{mileBox, "0.99999720514"}}}, {inchBox, "-1", {{cmBox, "-2.54"}}},
    {mmBox, "8582309068.756445", {{cmBox, "858230906.875644"}}},
    {mlBox, "8582309068.756445", {{clBox, "858230906.875645"}}},
    {kmBox, "4.9e-324", {{mmBox, "4.94065645841247E-318"}, {inchBox, "1.94513644767699E-319"},
                         {mileBox, "4.94065645841247E-324"}}},
    {lbsBox, "1", {{mgBox, "453592"}, {mtBox, "0.000453592"}, {ozBox, "16"}, {ltBox, "0.000446429"}}},
    {mtBox, "1", {{ltBox, "0.984206"}}},            {kgBox, "1000", {{ltBox, "0.984207"}}},
    {pintBox, "1", {{mlBox, "473.177"}, {clBox, "47.3176"}, {gallonBox, "0.125"}}},
    {lBox, "3.78541", {{gallonBox, "0.99999933052"}}},
    {celciusBox, "37", {{kelvinBox, "310.15"}, {fahrBox, "98.6"}}},
    {celciusBox, "-40", {{kelvinBox, "233.15"}, {fahrBox, "-40"}}},
    {celciusBox, ".", {{kelvinBox, "273.15"}, {fahrBox, "32"}}},
    {celciusBox, "9.98e307", {{kelvinBox, "9.98E+307"}, {fahrBox, "1.7964E+308"}}},
    {fahrBox, "98.6", {{celciusBox, "37"}, {kelvinBox, "310.15"}}},
    {fahrBox, "abc", {{celciusBox, "-17.7777777777778"}, {kelvinBox, "255.372222222222"}}},
    {fahrBox, "-459.67", {{celciusBox, "-273.15"}, {kelvinBox, "-5.6843418860808E-14"}}},
    {kelvinBox, "   ", {{celciusBox, "-273.15"}, {fahrBox, "-459.67"}}},
    {secBox, "1", {{minBox, "0.0166666666666667"}, {hourBox, "0.000277777777777778"}, {dayBox, "1.15740740740741E-05"}}},
    {minBox, "0.116666666666667", {{secBox, "7.00000000000002"}}},
    {hourBox, "-1", {{dayBox, "-0.0416666666666667"}}},
    {dayBox, "-", {{secBox, "0"}, {minBox, "0"}, {hourBox, "0"}}},
    {ltBox, " ", {{mgBox, "0"}, {ozBox, "0"}, {stBox, "0"}}},
    {quartBox, "1e-400", {{mlBox, "0"}, {gallonBox, "0"}}},
};
// clang-format on

class ExampleTest : public ::testing::TestWithParam<Example> {};

TEST_P(ExampleTest, ShowsTheKnownResult)
{
    const Example& e = GetParam();
    for (const auto& [target, text] : e.results)
        EXPECT_EQ(writtenText(convert(e.source, e.text), target), text) << "in " << boxInfo(target).name;
}

INSTANTIATE_TEST_SUITE_P(Worked, ExampleTest, ::testing::ValuesIn(kExamples));

} // namespace
} // namespace tolvu
