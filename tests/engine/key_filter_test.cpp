#include <gtest/gtest.h>

#include <cstdint>
#include <limits>

#include "engine_test_support.h"
#include "rule.h"

namespace tolvu {
namespace {

struct KeyCase {
    int key;
    int shift;
    bool passes;
    const char* what;
};

// clang-format off
const KeyCase kKeyCases[] = {
    {48, 0, true, "digit 0"},          {57, 0, true, "digit 9"},        {53, 1, true, "Shift+5"},
    {53, 2, true, "Ctrl+5"},           {53, 7, true, "Ctrl+Alt+Shift+5"},
    {96, 0, true, "keypad 0"},         {105, 4, true, "Alt+keypad 9"},  {100, 3, true, "Ctrl+Shift+keypad 4"},
    {8, 0, true, "Backspace"},         {8, 6, true, "Ctrl+Alt+Backspace"},
    {46, 0, true, "Delete"},           {46, 1, true, "Shift+Delete (cut)"},
    {190, 0, true, "full stop"},       {190, 5, true, "Shift+Alt+full stop"},
    {45, 1, true, "Shift+Insert (paste)"},
    {45, 0, false, "Insert released after Shift"}, {45, 2, false, "Ctrl+Insert (copy)"},
    {45, 3, false, "Ctrl+Shift+Insert"},           {45, 5, false, "Alt+Shift+Insert"},
    {45, 7, false, "Ctrl+Alt+Shift+Insert"},       {45, 9, false, "Shift plus an unknown bit"},
    {47, 0, false, "just below the digits"},       {58, 0, false, "just above the digits"},
    {95, 0, false, "just below the keypad digits"}, {106, 0, false, "keypad multiply"},
    {109, 0, false, "keypad minus"},   {189, 0, false, "minus"},        {189, 1, false, "Shift+minus"},
    {110, 0, false, "keypad decimal"}, {188, 0, false, "comma"},        {191, 0, false, "slash"},
    {86, 2, false, "Ctrl+V"},          {88, 2, false, "Ctrl+X"},        {90, 2, false, "Ctrl+Z"},
    {69, 0, false, "E"},               {69, 1, false, "Shift+E"},       {32, 0, false, "Space"},
    {13, 0, false, "Enter"},           {9, 0, false, "Tab"},            {9, 1, false, "Shift+Tab"},
    {37, 0, false, "Left"},            {38, 0, false, "Up"},            {39, 0, false, "Right"},
    {40, 0, false, "Down"},            {36, 0, false, "Home"},          {35, 0, false, "End"},
    {16, 1, false, "Shift itself"},    {17, 2, false, "Ctrl itself"},   {18, 4, false, "Alt itself"},
    {0, 0, false, "code 0"},           {-8, 0, false, "negative Backspace"},
    {-48, 0, false, "negative digit"}, {-32768, 1, false, "lowest code"}, {190 - 256, 0, false, "full stop's low byte in a negative code"},
    {48 + 256, 0, false, "digit plus 256"},
};
// clang-format on

void PrintTo(const KeyCase& c, std::ostream* os)
{
    *os << c.what << " (" << c.key << ", " << c.shift << ")";
}

class KeyFilterTest : public ::testing::TestWithParam<KeyCase> {};

TEST_P(KeyFilterTest, LetsThroughOnlyTheListedKeys)
{
    const KeyCase& c = GetParam();
    const auto key = static_cast<std::int16_t>(c.key);
    const auto shift = static_cast<std::int16_t>(c.shift);
    EXPECT_EQ(passesKeyFilter(key, shift), c.passes) << c.what;

    // The rule follows the filter: a stopped key changes nothing, even in
    // an empty box whose sisters would otherwise be emptied.
    for (const char* text : {"", "5"}) {
        const Recalculation r = recalculate(Box::kmBox, key, shift, text);
        EXPECT_EQ(r.acted(), c.passes) << c.what;
        EXPECT_EQ(r.writes().size(), c.passes ? 7u : 0u) << c.what;
        EXPECT_FALSE(r.overflowAt().has_value());
    }
}

INSTANTIATE_TEST_SUITE_P(Keys, KeyFilterTest, ::testing::ValuesIn(kKeyCases));

// Every 16-bit key code against the table of filtered keys, under every
// combination of Shift, Ctrl and Alt and a few masks no keyboard sends.
TEST(KeyFilter, SweepOfAllKeyCodes)
{
    const auto listed = [](int k) {
        return k == 8 || k == 46 || (k >= 48 && k <= 57) || (k >= 96 && k <= 105) || k == 190;
    };
    int passed = 0;
    for (int key = std::numeric_limits<std::int16_t>::min(); key <= std::numeric_limits<std::int16_t>::max(); ++key) {
        for (int shift : {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, -1, 0x7fff}) {
            const bool want = listed(key) || (key == 45 && shift == 1);
            const bool got = passesKeyFilter(static_cast<std::int16_t>(key), static_cast<std::int16_t>(shift));
            if (got != want) ADD_FAILURE() << "key " << key << " shift " << shift;
            passed += got;
        }
    }
    EXPECT_EQ(passed, 23 * 12 + 1);
}

} // namespace
} // namespace tolvu
