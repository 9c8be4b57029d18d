#include <gtest/gtest.h>

#include <random>
#include <string>

#include "json_checker.h"
#include "json_text.h"

namespace tolvu::cli {
namespace {

using namespace std::string_view_literals;

std::string literal(std::string_view text)
{
    std::string out;
    appendJsonString(out, text);
    return out;
}

// Replacements follow the maximal-subpart practice: one U+FFFD for a
// truncated but otherwise valid prefix, one per byte that can start nothing.
TEST(JsonString, WritesTheExpectedLiteral)
{
    // clang-format off
    const std::pair<std::string_view, std::string_view> cases[] = {
        {"1.5e3", "\"1.5e3\""}, {"", "\"\""}, {"say \"5\"", R"("say \"5\"")"}, {"a\\b", R"("a\\b")"},
        {"\b\f\n\r\t", R"("\b\f\n\r\t")"}, {"\x01\x1f\0"sv, R"("\u0001\u001f\u0000")"}, {"\x7f/", "\"\x7f/\""},
        {"\u00B0C \u2103 \U0001F600 \xF4\x8F\xBF\xBF", "\"\u00B0C \u2103 \U0001F600 \xF4\x8F\xBF\xBF\""},
        {"1\x80", "\"1\uFFFD\""},                             // stray continuation
        {"\xC0\xAF\xFF", "\"\uFFFD\uFFFD\uFFFD\""},           // bytes that start nothing
        {"\xE2\x82", "\"\uFFFD\""},                           // truncated at the end
        {"\xF0\x9F\x98\x35", "\"\uFFFD5\""},                  // truncated before ASCII
        {"\xE0\x80\xAF", "\"\uFFFD\uFFFD\uFFFD\""},           // overlong
        {"\xED\xA0\x80", "\"\uFFFD\uFFFD\uFFFD\""},           // surrogate
        {"\xF4\x90\x80\x80", "\"\uFFFD\uFFFD\uFFFD\uFFFD\""}, // beyond Unicode
    };
    // clang-format on
    for (const auto& [text, expected] : cases)
        EXPECT_EQ(literal(text), expected) << ::testing::PrintToString(std::string(text));
}

// Every one- and two-byte input, and many longer random ones, must give a
// literal that a strict reader accepts.
TEST(JsonString, AnyBytesGiveValidJson)
{
    // The reader must refuse what is not JSON, or this proves nothing.
    for (std::string_view bad :
         {"\"\xff\"", "\"\xed\xa0\x80\"", "\"\\ud800\"", "\"tab\there\"", "\"\\x41\"", "[null,]"})
        ASSERT_FALSE(test::isValidJson(bad)) << bad;
    for (int a = 0; a < 256; ++a) {
        for (int b = 0; b < 256; ++b) {
            const char bytes[] = {static_cast<char>(a), static_cast<char>(b)};
            ASSERT_TRUE(test::isValidJson(literal(std::string_view(bytes, 2)))) << a << ' ' << b;
            ASSERT_TRUE(test::isValidJson(literal(std::string_view(bytes + 1, 1)))) << b;
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

} // namespace
} // namespace tolvu::cli
