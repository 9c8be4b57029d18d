#include "number_checks.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>
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

// The decimal correctly rounded; infinite beyond the double range.
double readDecimal(const std::string& decimal)
{
    return std::strtod(decimal.c_str(), nullptr);
}

// What a box's text denotes, read by the C library.
double referenceParse(std::string_view text)
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
    // An exponent counts only with a digit after its optional sign.
    std::size_t end = i;
    if (i < s.size() && (s[i] == 'e' || s[i] == 'E'))
        for (std::size_t j = i + 1 + (s[i + 1] == '+' || s[i + 1] == '-'); j < s.size() && isDigit(s[j]); ++j)
            end = j + 1;
    return digits == 0 ? 0.0 : readDecimal(s.substr(0, end));
}

} // namespace

std::string numberTextFault(std::string_view view, double value)
{
    static const std::regex kFixed(R"(-?(0|[1-9][0-9]*)(\.[0-9]*[1-9])?)");
    static const std::regex kExponent(R"(-?[1-9](\.[0-9]*[1-9])?E[+-][0-9]{2,3})");
    const std::string text(view);
    char decimal[40];
    std::snprintf(decimal, sizeof decimal, "%.14e", value);
    const double want = readDecimal(decimal); // inf where the rounding leaves the range
    const bool exponentForm = std::fabs(want) >= 1e15 || (want != 0.0 && std::fabs(want) < 1e-4);
    if (!std::regex_match(text, exponentForm ? kExponent : kFixed)) return "not the number text form: " + text;
    std::string digits;
    for (char c : text.substr(0, text.find('E')))
        if (isDigit(c)) digits += c;
    if (digits.size() - std::min(digits.find_first_not_of('0'), digits.size()) > 15) return "over 15 digits: " + text;
    if ((text[0] == '-') != (value < 0.0)) return "the wrong sign: " + text;
    if (referenceParse(text) != want) return "not the value rounded to 15 digits: " + text;
    const ParsedNumber back = parseNumber(text);
    if (back.overflow != std::isinf(want) || (!back.overflow && back.value != want)) return "reads back otherwise";
    return {};
}

std::string parseFault(std::string_view text)
{
    const ParsedNumber got = parseNumber(text);
    const double want = referenceParse(text);
    if (!std::isfinite(got.value) || got.overflow != std::isinf(want)) return "overflow flagged wrongly";
    if (!got.overflow && std::bit_cast<std::uint64_t>(got.value) != std::bit_cast<std::uint64_t>(want))
        return "read another value";
    return got.overflow ? "" : numberTextFault(formatNumber(got.value).view(), got.value);
}

std::string formatFault(double value)
{
    const NumberText text = formatNumber(value);
    if (std::isfinite(value)) return numberTextFault(text.view(), value);
    return text.empty() ? "" : "inf or nan got a number text";
}

void require(const std::string& fault, std::string_view input)
{
    if (fault.empty()) return;
    std::fprintf(stderr, "check failed: %s [%.*s]\n", fault.c_str(),
                 static_cast<int>(std::min<std::size_t>(input.size(), 200)), input.data());
    std::abort();
}

} // namespace tolvu::checks
