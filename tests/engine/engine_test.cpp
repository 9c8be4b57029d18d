// The engine against the unit tables and worked examples typed into
// conversions.tsv and examples.tsv, and the key filter, the parse and the
// format at the edges that random inputs rarely reach, and at random.
#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <map>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "number_checks.h"
#include "number_fit.h"
#include "rule.h"
#include "tsv.h"

namespace tolvu {
namespace {

using test::readTable;
using test::Row;

Box box(const std::string& name)
{
    return std::find_if(allBoxes().begin(), allBoxes().end(), [&](const BoxInfo& b) { return b.name == name; })->box;
}

double applySteps(const std::string& steps, double v)
{
    std::istringstream in(steps);
    for (std::string step; in >> step;) {
        const double k = std::strtod(step.c_str() + 1, nullptr);
        v = step[0] == '*' ? v * k : step[0] == '/' ? v / k : step[0] == '+' ? v + k : v - k;
    }
    return v;
}

// What the rule writes, "target=text;" a write, for each source box.
std::map<std::string, std::string> writes(std::string_view text)
{
    std::map<std::string, std::string> all;
    for (const BoxInfo& source : allBoxes()) {
        const Recalculation r = convert(source.box, text);
        for (const Write& w : r.writes())
            all[std::string(source.name)] +=
                std::string(boxInfo(w.target).name) + '=' + std::string(w.text.view()) + ';';
    }
    return all;
}

// Every source writes exactly the cells of its row, in their order, each by
// its own steps; an empty box empties them. Besides small, negative and
// subnormal values, the inputs put results where a division and the product
// with the rounded reciprocal (x / 10 against x * 0.1) differ in the
// fifteenth digit.
TEST(Engine, ConvertsEveryPairByItsOwnStepsInWriteOrder)
{
    const std::vector<Row> cells = readTable("engine/conversions.tsv");
    ASSERT_EQ(cells.size(), 186u);
    for (const char* input : {"", "7", "-0.0123", "-2.5e-310", "8582309068.756445", "8233998555.548365",
                              "5749732334.48539", "2723220878.447739", "424723525.836183"}) {
        std::map<std::string, std::string> want;
        for (const Row& c : cells)
            want[c[0]] +=
                c[1] + '=' + (*input ? checks::referenceText(applySteps(c[2], std::strtod(input, nullptr))) : "") + ';';
        EXPECT_EQ(writes(input), want) << input;
    }
}

// A result beyond the double range stops the recalculation at its box: the
// sisters before it keep their new texts, it and the rest are not written.
TEST(Engine, ShowsTheWorkedExamplesAndStopsAtAnOverflow)
{
    std::map<std::string, std::vector<std::string>> sisters; // in write order
    for (const Row& c : readTable("engine/conversions.tsv"))
        sisters[c[0]].push_back(c[1]);
    for (const Row& e : readTable("engine/examples.tsv")) {
        const Recalculation r = convert(box(e[0]), e[1]);
        std::vector<std::string> targets;
        std::string shown = "<not written>";
        for (const Write& w : r.writes()) {
            targets.emplace_back(boxInfo(w.target).name);
            if (targets.back() == e[2]) shown = w.text.view();
        }
        const auto& row = sisters[e[0]];
        if (e[3] != "overflow")
            EXPECT_EQ(shown, e[3]) << e[1] << " in " << e[0] << " -> " << e[2];
        else
            EXPECT_TRUE(r.overflowAt() == box(e[2]) &&
                        targets == std::vector(row.begin(), std::find(row.begin(), row.end(), e[2])))
                << e[1] << " in " << e[0];
    }
}

// The key filter, the parse and the format against their tables, and a
// number text too wide for its room, here counted in characters, as its row
// in fit.tsv shows it.
TEST(Engine, KeysParseFormatAndFitByTheirTables)
{
    for (const Row& k : readTable("engine/keys.tsv")) {
        const auto code = static_cast<std::int16_t>(std::stoi(k[0]));
        const auto shift = static_cast<std::int16_t>(std::stoi(k[1]));
        EXPECT_EQ(recalculate(Box::minBox, code, shift, "-90").writes().size(), k[2] == "1" ? 3u : 0u) << k[0];
        EXPECT_EQ(recalculate(Box::minBox, code, shift, "").acted(), k[2] == "1") << k[0] << '/' << k[1];
    }
    for (const Row& c : readTable("engine/parse.tsv")) {
        const ParsedNumber got = parseNumber(c[0]);
        const double want = std::strtod(c[1].c_str(), nullptr);
        EXPECT_EQ(std::bit_cast<std::uint64_t>(got.value), std::bit_cast<std::uint64_t>(want)) << c[0];
        EXPECT_EQ(got.overflow, c[2] == "1") << c[0];
        EXPECT_EQ(got.whole, c[3] == "1") << c[0];
    }
    for (const Row& c : readTable("engine/format.tsv"))
        EXPECT_EQ(formatNumber(std::strtod(c[0].c_str(), nullptr)).view(), c[1]) << c[0];
    for (const Row& c : readTable("engine/fit.tsv")) {
        const std::size_t room = std::stoul(c[1]);
        const auto shown = fitNumberText(c[0], room, [room](std::string_view s) { return s.size() <= room; });
        EXPECT_EQ(shown.value_or("(none)"), c[2]) << c[0] << " in " << room;
    }
}

// Random doubles of every magnitude, checked against the C library's own
// conversion; random texts go through the parse in the fuzzer, from the
// seeds in fuzz/corpus.
constexpr int kRounds = 40'000;

// Besides doubles of every bit pattern, those a few ulps from a power of ten
// or from a halfway point between two 15-digit numbers, where the rounding
// is hardest, at the magnitudes that conversions meet and beyond them.
TEST(NumberTextProperty, RandomDoublesFormatToTheirFifteenDigitRounding)
{
    std::mt19937_64 rng(20240611);
    for (int i = 0; i < kRounds; ++i) {
        ASSERT_EQ(checks::formatFault(std::bit_cast<double>(rng())), "");
        const std::uint64_t lead = i % 3 == 0 ? 1 : 100'000'000'000'000 + rng() % 900'000'000'000'000;
        const std::string near = std::to_string(lead) + (i % 2 ? "5e" : "e") + std::to_string(int(rng() % 70) - 35);
        double x = std::strtod(near.c_str(), nullptr);
        for (int ulps = int(rng() % 7) - 3; ulps != 0; ulps -= ulps < 0 ? -1 : 1)
            x = std::nextafter(x, ulps < 0 ? 0.0 : HUGE_VAL);
        ASSERT_EQ(checks::formatFault(x), "") << near;
    }
}

} // namespace
} // namespace tolvu
