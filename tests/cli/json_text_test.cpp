#include <gtest/gtest.h>

#include <random>
#include <string>

#include "json_checker.h"
#include "json_text.h"

namespace tolvu::cli {
namespace {

std::string literal(std::string_view text)
{
    std::string out;
    appendJsonString(out, text);
    return out;
}

struct EscapeCase {
    std::string_view name;
    std::string_view input;
    std::string_view expected;
};

void PrintTo(const EscapeCase& c, std::ostream* os)
{
    *os << c.name;
}

class JsonStringTest : public ::testing::TestWithParam<EscapeCase> {};

TEST_P(JsonStringTest, WritesTheExpectedLiteral)
{
    EXPECT_EQ(literal(GetParam().input), GetParam().expected);
}

using namespace std::string_view_literals;

// Replacements follow the maximal-subpart practice: one U+FFFD for a
// truncated but otherwise valid prefix, one per byte that can start nothing.
INSTANTIATE_TEST_SUITE_P(
    Texts, JsonStringTest,
    ::testing::Values(EscapeCase{"plain", "1.5e3", "\"1.5e3\""}, EscapeCase{"empty", "", "\"\""},
                      EscapeCase{"quote", "say \"5\"", R"("say \"5\"")"}, EscapeCase{"backslash", "a\\b", R"("a\\b")"},
                      EscapeCase{"named_controls", "\b\f\n\r\t", R"("\b\f\n\r\t")"},
                      EscapeCase{"other_controls", "\x01\x1f\0"sv, R"("\u0001\u001f\u0000")"},
                      EscapeCase{"delete_and_slash_stay", "\x7f/", "\"\x7f/\""},
                      EscapeCase{"two_byte", "\u00B0C", "\"\u00B0C\""},
                      EscapeCase{"three_byte", "\u2103", "\"\u2103\""},
                      EscapeCase{"four_byte", "\U0001F600", "\"\U0001F600\""},
                      EscapeCase{"stray_continuation", "1\x80", "\"1\uFFFD\""},
                      EscapeCase{"never_a_lead", "\xC0\xAF\xFF", "\"\uFFFD\uFFFD\uFFFD\""},
                      EscapeCase{"truncated_at_end", "\xE2\x82", "\"\uFFFD\""},
                      EscapeCase{"truncated_before_ascii",
                                 "\xF0\x9F\x98"
                                 "5",
                                 "\"\uFFFD"
                                 "5\""},
                      EscapeCase{"overlong_three_byte", "\xE0\x80\xAF", "\"\uFFFD\uFFFD\uFFFD\""},
                      EscapeCase{"surrogate", "\xED\xA0\x80", "\"\uFFFD\uFFFD\uFFFD\""},
                      EscapeCase{"beyond_unicode", "\xF4\x90\x80\x80", "\"\uFFFD\uFFFD\uFFFD\uFFFD\""},
                      EscapeCase{"largest_code_point", "\xF4\x8F\xBF\xBF", "\"\xF4\x8F\xBF\xBF\""}),
    [](const auto& info) { return std::string(info.param.name); });

// Valid UTF-8 and ASCII controls come back unchanged through a strict reader.
TEST(JsonString, RoundTripsWellFormedText)
{
    const std::string text = "\"\\/\t\n\x01 5 \u00B0F \u2109 \U0001F600 end";
    EXPECT_EQ(test::decodeJsonString(literal(text)), text);
}

// Every one- and two-byte input, and many longer random ones, must give a
// literal that a strict reader accepts.
TEST(JsonString, AnyBytesGiveValidJson)
{
    for (int a = 0; a < 256; ++a) {
        for (int b = 0; b < 256; ++b) {
            const char bytes[] = {static_cast<char>(a), static_cast<char>(b)};
            const std::string out = literal(std::string_view(bytes, 2));
            ASSERT_TRUE(test::isValidJson(out)) << a << ' ' << b << ": " << out;
            if (a == 0) {
                ASSERT_TRUE(test::isValidJson(literal(std::string_view(bytes + 1, 1))));
            }
        }
    }
    std::mt19937 random(2131);
    std::uniform_int_distribution<int> byte(0, 255);
    std::uniform_int_distribution<int> length(1, 12);
    for (int n = 0; n < 20000; ++n) {
        std::string text(static_cast<std::size_t>(length(random)), '\0');
        for (char& c : text)
            c = static_cast<char>(byte(random));
        ASSERT_TRUE(test::isValidJson(literal(text))) << n;
    }
}

// The reader used above must itself refuse what is not JSON, or the checks
// built on it prove nothing.
TEST(JsonChecker, RefusesInvalidDocuments)
{
    for (std::string_view bad : {"", "{", "{\"a\":null,}", "[null null]", "\"tab\there\"", "\"\\x41\"", "\"\xff\"", "1",
                                 "true", "nul", "{\"a\" 1}", "\"\\ud800\"", "\"\xed\xa0\x80\"", "{} {}"}) {
        EXPECT_FALSE(test::isValidJson(bad)) << bad;
    }
    for (std::string_view good : {"null", " {\"a\":[null,{},[],\"\\u00e9\"]} ", "\"\\ud83d\\ude00\""}) {
        EXPECT_TRUE(test::isValidJson(good)) << good;
    }
}

} // namespace
} // namespace tolvu::cli
