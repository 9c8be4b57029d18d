#include "fuzz_checks.h"

#include <bit>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "number_text.h"

namespace tolvu::fuzz {
namespace {

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

Reference readDecimal(const std::string& decimal)
{
    const double v = std::strtod(decimal.c_str(), nullptr);
    if (std::isinf(v)) return {0.0, true};
    return {v, false};
}

struct Shape {
    bool valid = false;
    bool exponentForm = false;
    int significantDigits = 0;
};

// The number text grammar: "-"? then either a fixed form without leading
// zeros ("0", "12", "0.0254") or a one-digit mantissa with a two or three
// digit exponent ("1.5E-05", "1E+308"); a fraction never ends in "0".
Shape shapeOf(std::string_view t)
{
    Shape shape;
    std::size_t i = 0;
    if (i < t.size() && t[i] == '-') ++i;
    std::string digits;
    const std::size_t intStart = i;
    while (i < t.size() && isDigit(t[i]))
        digits += t[i++];
    const std::size_t intLength = i - intStart;
    if (intLength == 0 || (intLength > 1 && t[intStart] == '0')) return shape;
    if (i < t.size() && t[i] == '.') {
        const std::size_t fracStart = ++i;
        while (i < t.size() && isDigit(t[i]))
            digits += t[i++];
        if (i == fracStart || t[i - 1] == '0') return shape;
    }
    if (i < t.size() && t[i] == 'E') {
        shape.exponentForm = true;
        if (intLength != 1 || t[intStart] == '0') return shape;
        ++i;
        if (i >= t.size() || (t[i] != '+' && t[i] != '-')) return shape;
        const std::size_t expStart = ++i;
        while (i < t.size() && isDigit(t[i]))
            ++i;
        if (i - expStart < 2 || i - expStart > 3) return shape;
    }
    if (i != t.size()) return shape;

    const std::size_t first = digits.find_first_not_of('0');
    if (first != std::string::npos) {
        const std::size_t last = digits.find_last_not_of('0');
        shape.significantDigits = static_cast<int>(last - first + 1);
    }
    shape.valid = true;
    return shape;
}

} // namespace

void fail(const char* what, std::string_view detail)
{
    std::fprintf(stderr, "fuzz check failed: %s [%.*s]\n", what,
                 static_cast<int>(std::min<std::size_t>(detail.size(), 200)), detail.data());
    std::abort();
}

bool sameBits(double a, double b)
{
    return std::bit_cast<std::uint64_t>(a) == std::bit_cast<std::uint64_t>(b);
}

Reference referenceParse(std::string_view text)
{
    std::string s;
    for (char c : text) {
        if (c != ' ' && c != '\t' && c != '\n') s += c;
    }
    std::size_t i = 0;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
    bool digits = false;
    bool point = false;
    for (; i < s.size(); ++i) {
        if (isDigit(s[i])) {
            digits = true;
        } else if (s[i] == '.' && !point) {
            point = true;
        } else {
            break;
        }
    }
    if (!digits) return {};
    std::size_t end = i;
    if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
        std::size_t j = i + 1;
        if (j < s.size() && (s[j] == '+' || s[j] == '-')) ++j;
        if (j < s.size() && isDigit(s[j])) {
            while (j < s.size() && isDigit(s[j]))
                ++j;
            end = j;
        }
    }
    return readDecimal(s.substr(0, end));
}

Reference roundedTo15(double value)
{
    char decimal[64];
    std::snprintf(decimal, sizeof decimal, "%.14e", value);
    return readDecimal(decimal);
}

void checkNumberText(std::string_view text, double value)
{
    char shown[64];
    std::snprintf(shown, sizeof shown, "%.17g -> %.*s", value, static_cast<int>(std::min<std::size_t>(text.size(), 40)),
                  text.data());

    const Shape shape = shapeOf(text);
    require(shape.valid, "format broke the number text grammar", shown);
    require(shape.significantDigits <= 15, "format wrote more than 15 significant digits", shown);
    require((text.front() == '-') == (value < 0.0), "format gave the wrong sign", shown);

    const Reference rounded = roundedTo15(value);
    const double magnitude = std::fabs(rounded.value);
    const bool wantExponent = rounded.overflow || (magnitude != 0.0 && (magnitude < 1e-4 || magnitude >= 1e15));
    require(shape.exponentForm == wantExponent, "format chose the wrong form for the magnitude", shown);

    const Reference denoted = referenceParse(text);
    require(denoted.overflow == rounded.overflow && denoted.value == rounded.value,
            "number text does not denote the value rounded to 15 digits", shown);

    const ParsedNumber back = parseNumber(text);
    require(back.overflow == rounded.overflow, "number text reads back with a different overflow", shown);
    require(back.overflow || back.value == rounded.value, "number text reads back as another value", shown);
}

} // namespace tolvu::fuzz
