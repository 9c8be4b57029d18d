// The engine against the unit tables and worked examples typed into
// conversions.tsv and examples.tsv, and the key filter, the parse and the
// format at the edges that random inputs rarely reach.
#include <gtest/gtest.h>

#include <bit>
#include <cstdint>
#include <cstdlib>
#include <map>
#include <string>
#include <vector>

#include "number_checks.h"
#include "rule.h"
#include "tsv.h"

namespace tolvu {
namespace {

using test::Row;

std::vector<Row> readTable(const std::string& name)
{
    return test::readTable(TOLVU_ENGINE_TEST_DATA "/" + name);
}

Box box(const std::string& name)
{
    for (const BoxInfo& info : allBoxes())
        if (info.name == name) return info.box;
    ADD_FAILURE() << "no box " << name;
    return Box::mmBox;
}

std::string written(const Recalculation& r, Box target)
{
    for (const Write& w : r.writes())
        if (w.target == target) return std::string(w.text.view());
    return "<not written>";
}

// The table lists each box's sisters in the order the rule writes them.
std::map<Box, std::vector<Box>> writeOrder()
{
    std::map<Box, std::vector<Box>> order;
    for (const Row& cell : readTable("conversions.tsv"))
        order[box(cell[0])].push_back(box(cell[1]));
    return order;
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

// Besides small, negative and subnormal values, inputs whose results land
// where a division and the product with the rounded reciprocal (x / 10
// against x * 0.1) differ in the fifteenth digit.
TEST(Engine, ConvertsEveryPairByItsOwnSteps)
{
    const std::vector<Row> cells = readTable("conversions.tsv");
    ASSERT_EQ(cells.size(), 186u);
    for (const char* input : {"7", "-0.0123", "-2.5e-310", "8582309068.756445", "8233998555.548365", "5749732334.48539",
                              "2723220878.447739", "424723525.836183"}) {
        const double v = std::strtod(input, nullptr);
        for (const Row& c : cells)
            EXPECT_EQ(written(convert(box(c[0]), input), box(c[1])), checks::referenceText(applySteps(c[2], v)))
                << input << " in " << c[0] << " -> " << c[1];
    }
}

// Results and emptying alike reach every sister in write order, and no
// other box.
TEST(Engine, WritesEverySisterInWriteOrder)
{
    const auto order = writeOrder();
    ASSERT_EQ(order.size(), kBoxCount);
    for (const auto& [source, sisters] : order) {
        for (const char* text : {"12.5", ""}) {
            std::vector<Box> targets;
            for (const Write& w : recalculate(source, vk::Back, shiftmask::None, text).writes()) {
                targets.push_back(w.target);
                EXPECT_EQ(w.text.empty(), *text == '\0');
            }
            EXPECT_EQ(targets, sisters) << boxInfo(source).name << " \"" << text << '"';
        }
    }
}

// A result beyond the double range stops the recalculation at its box: the
// sisters before it keep their new texts, it and the rest are not written.
TEST(Engine, ShowsTheWorkedExamplesAndStopsAtAnOverflow)
{
    const auto order = writeOrder();
    for (const Row& e : readTable("examples.tsv")) {
        SCOPED_TRACE('"' + e[1] + "\" in " + e[0] + " -> " + e[2]);
        const Recalculation r = convert(box(e[0]), e[1]);
        if (e[3] != "overflow") {
            EXPECT_EQ(written(r, box(e[2])), e[3]);
            continue;
        }
        const std::vector<Box>& sisters = order.at(box(e[0]));
        const auto stop = std::find(sisters.begin(), sisters.end(), box(e[2]));
        EXPECT_EQ(r.overflowAt(), box(e[2]));
        EXPECT_EQ(r.writes().size(), static_cast<std::size_t>(stop - sisters.begin()));
    }
}

TEST(Engine, KeyFilter)
{
    struct Key {
        int code;
        int shift;
        bool recalculates;
    };
    // clang-format off
    const Key keys[] = {
        {8, 0, true}, {8, 7, true}, {46, 1, true}, {48, 2, true}, {57, 4, true}, {96, 0, true}, {105, 1, true},
        {190, 3, true}, {45, 1, true}, {45, 0, false}, {45, 3, false}, {45, 5, false}, {45, 9, false},
        {7, 0, false}, {9, 0, false}, {44, 1, false}, {47, 0, false}, {58, 0, false}, {95, 0, false},
        {106, 0, false}, {109, 0, false}, {110, 0, false}, {188, 0, false}, {189, 0, false}, {191, 0, false},
        {69, 0, false}, {86, 2, false}, {48 + 256, 0, false}, {190 - 256, 0, false},
    };
    // clang-format on
    for (const Key& k : keys) {
        const auto code = static_cast<std::int16_t>(k.code);
        const auto shift = static_cast<std::int16_t>(k.shift);
        EXPECT_EQ(recalculate(Box::minBox, code, shift, "-90").writes().size(), k.recalculates ? 3u : 0u) << k.code;
        EXPECT_EQ(recalculate(Box::minBox, code, shift, "").acted(), k.recalculates) << k.code << '/' << k.shift;
    }
}

TEST(Engine, ParseReadsTheLeadingNumber)
{
    for (const Row& c : readTable("parse.tsv")) {
        const ParsedNumber got = parseNumber(c[0]);
        const double want = std::strtod(c[1].c_str(), nullptr);
        EXPECT_EQ(std::bit_cast<std::uint64_t>(got.value), std::bit_cast<std::uint64_t>(want)) << c[0];
        EXPECT_EQ(got.overflow, c[2] == "1") << c[0];
        EXPECT_EQ(got.whole, c[3] == "1") << c[0];
    }
}

TEST(Engine, FormatWritesFifteenDigitNumberText)
{
    for (const Row& c : readTable("format.tsv"))
        EXPECT_EQ(formatNumber(std::strtod(c[0].c_str(), nullptr)).view(), c.size() > 1 ? c[1] : "") << c[0];
}

} // namespace
} // namespace tolvu
