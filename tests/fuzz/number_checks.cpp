#include "number_checks.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <regex>

#include "number_text.h"

namespace tolvu::checks {
namespace {

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

Reference readDecimal(const std::string& decimal)
{
    const double v = std::strtod(decimal.c_str(), nullptr);
    return std::isinf(v) ? Reference{0.0, true} : Reference{v, false};
}

} // namespace

Reference referenceParse(std::string_view text)
{
    std::string s;
    for (char c : text)
        if (c != ' ' && c != '\t' && c != '\n') s += c;
    std::size_t i = s[0] == '+' || s[0] == '-' ? 1 : 0;
    std::size_t digits = 0;
    for (bool point = false; i < s.size() && (isDigit(s[i]) || (s[i] == '.' && !point)); ++i) {
        point = point || s[i] == '.';
        digits += isDigit(s[i]);
    }
    if (digits == 0) return {};
    // An exponent counts only with a digit after its optional sign.
    std::size_t end = i;
    if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
        std::size_t j = i + 1 + (s[i + 1] == '+' || s[i + 1] == '-');
        for (; j < s.size() && isDigit(s[j]); ++j)
            end = j + 1;
    }
    return readDecimal(s.substr(0, end));
}

std::string numberTextFault(std::string_view view, double value)
{
    static const std::regex kFixed(R"(-?(0|[1-9][0-9]*)(\.[0-9]*[1-9])?)");
    static const std::regex kExponent(R"(-?[1-9](\.[0-9]*[1-9])?E[+-][0-9]{2,3})");
    const std::string text(view);
    char decimal[40];
    std::snprintf(decimal, sizeof decimal, "%.14e", value);
    const Reference want = readDecimal(decimal);
    const double magnitude = std::fabs(want.value);
    const bool exponentForm = want.overflow || (magnitude != 0.0 && (magnitude < 1e-4 || magnitude >= 1e15));

    if (!std::regex_match(text, exponentForm ? kExponent : kFixed)) return "not the number text form for " + text;
    std::string digits;
    for (char c : text.substr(0, text.find('E')))
        if (isDigit(c)) digits += c;
    if (digits.size() - std::min(digits.find_first_not_of('0'), digits.size()) > 15) return "over 15 digits";
    if ((text[0] == '-') != (value < 0.0)) return "the wrong sign";
    const Reference denoted = referenceParse(text);
    if (denoted.overflow != want.overflow || denoted.value != want.value) return "not the value rounded to 15 digits";
    const ParsedNumber back = parseNumber(text);
    if (back.overflow != want.overflow || (!back.overflow && back.value != want.value)) return "reads back otherwise";
    return {};
}

void require(bool ok, std::string_view what, std::string_view input)
{
    if (ok) return;
    std::fprintf(stderr, "check failed: %.*s [%.*s]\n", static_cast<int>(what.size()), what.data(),
                 static_cast<int>(std::min<std::size_t>(input.size(), 200)), input.data());
    std::abort();
}

} // namespace tolvu::checks
