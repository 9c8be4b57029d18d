// Every conversion of every group, through the rule a key release runs.
// The expected numbers come from the conversion tables typed in below as
// plain arithmetic, and from worked examples with known answers.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <set>
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
constexpr Op X(double k)
{
    return {'*', k};
}
constexpr Op D(double k)
{
    return {'/', k};
}
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
        const std::vector<Box>& columns = expectedGroupOf(row.from).members;
        EXPECT_EQ(row.cells.size(), columns.size()) << boxInfo(row.from).name;
        for (std::size_t i = 0; i < row.cells.size() && i < columns.size(); ++i) {
            if (row.cells[i].op != '-') cells.push_back({row.from, columns[i], row.cells[i].op, row.cells[i].k});
        }
    }
    cells.insert(cells.end(), std::begin(kTemperatureCells), std::end(kTemperatureCells));
    return cells;
}

// Besides small and negative values, inputs whose results land where a
// division and the product with the rounded reciprocal (x / 10 against
// x * 0.1) differ in the fifteenth digit; see the check further down.
const char* const kInputs[] = {"7",
                               "-0.0123",
                               "-2.5e-310",
                               "8582309068.756445",
                               "8233998555.548365",
                               "5749732334.48539",
                               "2723220878.447739",
                               "424723525.836183"};

std::string written(Box from, const char* input, Box to)
{
    return writtenText(convert(from, input), to).value_or("<not written>");
}

class FormulaTest : public ::testing::TestWithParam<Cell> {};

TEST_P(FormulaTest, ConvertsByTheTableOperation)
{
    const Cell& c = GetParam();
    for (const char* input : kInputs) {
        const double v = std::strtod(input, nullptr);
        EXPECT_EQ(written(c.from, input, c.to), formatNumber(c.expected(v)).view()) << "input " << input;
    }
}

INSTANTIATE_TEST_SUITE_P(AllPairs, FormulaTest, ::testing::ValuesIn(allCells()),
                         [](const ::testing::TestParamInfo<Cell>& info) {
                             return std::string(boxInfo(info.param.from).name) + "_to_" +
                                    std::string(boxInfo(info.param.to).name);
                         });

TEST(FormulaCoverage, EveryOrderedPairOfSistersHasExactlyOneCell)
{
    std::set<std::pair<Box, Box>> covered;
    for (const Cell& c : allCells()) {
        EXPECT_TRUE(covered.insert({c.from, c.to}).second) << "twice: " << ::testing::PrintToString(c);
        EXPECT_NE(c.from, c.to);
        EXPECT_EQ(&expectedGroupOf(c.from), &expectedGroupOf(c.to)) << ::testing::PrintToString(c);
    }
    EXPECT_EQ(covered.size(), 186u);
}

// Guards the inputs above: for every cell where a plausible slip (dividing
// by 10 instead of multiplying by 0.1, or the reverse) gives a different
// double, at least one input shows the difference in the written text, so
// FormulaTest would fail on that slip. Powers of two are exempt: there the
// two forms are the same operation.
TEST(FormulaCoverage, InputsTellEachOperationFromItsReciprocalForm)
{
    const auto powerOfTwo = [](double x) {
        int e = 0;
        return std::frexp(x, &e) == 0.5;
    };
    int guarded = 0;
    for (const Cell& c : allCells()) {
        Cell slip = c;
        if (c.op == '/') {
            slip = {c.from, c.to, '*', 1.0 / c.k};
        } else if (c.op == '*' && c.k < 1.0 && std::fabs(1.0 / c.k - std::round(1.0 / c.k)) < 1e-6) {
            slip = {c.from, c.to, '/', std::round(1.0 / c.k)};
        } else {
            continue;
        }
        if (powerOfTwo(c.k)) continue;
        ++guarded;
        bool told = false;
        for (const char* input : kInputs) {
            const double v = std::strtod(input, nullptr);
            told = told || formatNumber(c.expected(v)) != formatNumber(slip.expected(v));
        }
        EXPECT_TRUE(told) << ::testing::PrintToString(c);
    }
    EXPECT_EQ(guarded, 6 + 6 + 8 + 6); // Length and Time divisions, Weight and Volume fractions
}

// Worked examples with known answers, written as the boxes show them.
struct Example {
    Box source;
    const char* text;
    std::vector<std::pair<Box, const char*>> results;
};

void PrintTo(const Example& e, std::ostream* os)
{
    *os << e.text << " in " << boxInfo(e.source).name;
}

// clang-format off
const Example kExamples[] = {
    // Length
    {inchBox, "1", {{mmBox, "25.4"}, {cmBox, "2.54"}, {mBox, "0.0254"}, {kmBox, "2.54E-05"}, {feetBox, "0.0833333"},
                    {yardBox, "0.0277778"}, {mileBox, "1.57828E-05"}}},
    {mileBox, "1", {{mmBox, "1609340"}, {cmBox, "160934"}, {mBox, "1609.34"}, {kmBox, "1.60934"}, {inchBox, "63360"},
                    {feetBox, "5280"}, {yardBox, "1760"}}},
    {feetBox, "3", {{yardBox, "0.999999"}}},
    {inchBox, "12", {{feetBox, "0.9999996"}}},
    {inchBox, "36", {{yardBox, "1.0000008"}}},
    {mmBox, "25.4", {{inchBox, "1.00000054"}}},
    {mBox, "1609.34", {{mileBox, "0.99999720514"}}},
    {cmBox, "100", {{mBox, "1"}, {kmBox, "0.001"}}},
    {mmBox, "8582309068.756445", {{cmBox, "858230906.875644"}}},
    {inchBox, "-1", {{cmBox, "-2.54"}, {mmBox, "-25.4"}}},
    {kmBox, "1e302", {{mmBox, "1E+308"}}},
    {kmBox, "4.9e-324", {{mmBox, "4.94065645841247E-318"}, {inchBox, "1.94513644767699E-319"}, {mileBox, "4.94065645841247E-324"}}},
    // Weight
    {lbsBox, "1", {{mgBox, "453592"}, {gBox, "453.592"}, {kgBox, "0.453592"}, {mtBox, "0.000453592"}, {ozBox, "16"},
                   {stBox, "0.0005"}, {ltBox, "0.000446429"}}},
    {stBox, "1", {{lbsBox, "2000"}, {ozBox, "32000"}, {ltBox, "0.892857"}}},
    {ltBox, "1", {{lbsBox, "2240"}, {ozBox, "35840"}, {stBox, "1.12"}}},
    {mtBox, "1", {{ltBox, "0.984206"}}},
    {kgBox, "1000", {{ltBox, "0.984207"}}},
    {lbsBox, "2.20462", {{kgBox, "0.99999799504"}}},
    {lbsBox, "-1", {{kgBox, "-0.453592"}, {ozBox, "-16"}}},
    {mtBox, "1e299", {{mgBox, "1E+308"}}},
    // Volume
    {gallonBox, "1", {{mlBox, "3785.41"}, {clBox, "378.541"}, {dlBox, "37.8541"}, {lBox, "3.78541"}, {flozBox, "128"},
                      {pintBox, "8"}, {quartBox, "4"}}},
    {pintBox, "1", {{mlBox, "473.177"}, {clBox, "47.3176"}, {dlBox, "4.73176"}, {lBox, "0.473176"}, {flozBox, "16"},
                    {quartBox, "0.5"}, {gallonBox, "0.125"}}},
    {lBox, "1", {{mlBox, "1000"}, {clBox, "100"}, {dlBox, "10"}, {flozBox, "33.814"}, {pintBox, "2.11338"},
                 {quartBox, "1.05669"}, {gallonBox, "0.264172"}}},
    {quartBox, "2", {{pintBox, "4"}, {flozBox, "64"}, {gallonBox, "0.5"}}},
    {quartBox, "-2", {{pintBox, "-4"}}},
    {flozBox, "16", {{pintBox, "1"}}},
    {flozBox, "32", {{quartBox, "1"}}},
    {flozBox, "128", {{gallonBox, "1"}}},
    {lBox, "3.78541", {{gallonBox, "0.99999933052"}}},
    {mlBox, "10", {{clBox, "1"}}},
    {mlBox, "8582309068.756445", {{clBox, "858230906.875645"}}},
    {gallonBox, "1e304", {{mlBox, "3.78541E+307"}}},
    // Temperature
    {celciusBox, "100", {{kelvinBox, "373.15"}, {fahrBox, "212"}}},
    {celciusBox, "0", {{kelvinBox, "273.15"}, {fahrBox, "32"}}},
    {celciusBox, "-40", {{kelvinBox, "233.15"}, {fahrBox, "-40"}}},
    {celciusBox, "37", {{kelvinBox, "310.15"}, {fahrBox, "98.6"}}},
    {celciusBox, ".", {{kelvinBox, "273.15"}, {fahrBox, "32"}}},
    {celciusBox, "9.98e307", {{kelvinBox, "9.98E+307"}, {fahrBox, "1.7964E+308"}}},
    {fahrBox, "212", {{celciusBox, "100"}, {kelvinBox, "373.15"}}},
    {fahrBox, "32", {{celciusBox, "0"}, {kelvinBox, "273.15"}}},
    {fahrBox, "98.6", {{celciusBox, "37"}, {kelvinBox, "310.15"}}},
    {fahrBox, "0", {{celciusBox, "-17.7777777777778"}, {kelvinBox, "255.372222222222"}}},
    {fahrBox, "-459.67", {{celciusBox, "-273.15"}, {kelvinBox, "-5.6843418860808E-14"}}},
    {fahrBox, "-1e308", {{celciusBox, "-5.55555555555556E+307"}, {kelvinBox, "-5.55555555555556E+307"}}},
    {kelvinBox, "0", {{celciusBox, "-273.15"}, {fahrBox, "-459.67"}}},
    {kelvinBox, "273.15", {{celciusBox, "0"}, {fahrBox, "32"}}},
    {kelvinBox, "373.15", {{celciusBox, "100"}, {fahrBox, "212"}}},
    {kelvinBox, "-1", {{celciusBox, "-274.15"}}},
    // Time
    {dayBox, "1", {{secBox, "86400"}, {minBox, "1440"}, {hourBox, "24"}}},
    {dayBox, "0.5", {{secBox, "43200"}, {minBox, "720"}, {hourBox, "12"}}},
    {dayBox, "2e303", {{secBox, "1.728E+308"}}},
    {minBox, "90", {{secBox, "5400"}, {hourBox, "1.5"}, {dayBox, "0.0625"}}},
    {hourBox, "36", {{secBox, "129600"}, {minBox, "2160"}, {dayBox, "1.5"}}},
    {hourBox, "-1", {{secBox, "-3600"}, {minBox, "-60"}, {dayBox, "-0.0416666666666667"}}},
    {secBox, "1", {{minBox, "0.0166666666666667"}, {hourBox, "0.000277777777777778"}, {dayBox, "1.15740740740741E-05"}}},
    {secBox, "7", {{minBox, "0.116666666666667"}}},
    {minBox, "0.116666666666667", {{secBox, "7.00000000000002"}}},
    {secBox, "1e308", {{minBox, "1.66666666666667E+306"}}},
};
// clang-format on

class ExampleTest : public ::testing::TestWithParam<Example> {};

TEST_P(ExampleTest, ShowsTheKnownResult)
{
    const Example& e = GetParam();
    for (const auto& [target, text] : e.results) {
        EXPECT_EQ(written(e.source, e.text, target), text) << "in " << boxInfo(target).name;
    }
}

INSTANTIATE_TEST_SUITE_P(Worked, ExampleTest, ::testing::ValuesIn(kExamples));

} // namespace
} // namespace tolvu
