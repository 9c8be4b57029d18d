#include "number_checks.h"

#include <bit>
#include <cmath>
#include <cstdint>
#include <cstdio>

#include "number_text.h"

namespace tolvu::checks {

std::string referenceText(double value)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.15G", value == 0.0 ? 0.0 : value);
    return std::isfinite(value) ? text : "";
}

std::string parseFault(std::string_view text)
{
    const auto digit = [](char c) { return c >= '0' && c <= '9'; };
    std::string s;
    for (char c : text)
        if (c != ' ' && c != '\t' && c != '\n') s += c;
    // The longest leading decimal: sign, digits with one point, and an
    // exponent only where a digit follows its optional sign.
    std::size_t end = s[0] == '+' || s[0] == '-', digits = 0;
    for (bool point = false; end < s.size() && (digit(s[end]) || (s[end] == '.' && !point)); ++end) {
        point = point || s[end] == '.';
        digits += digit(s[end]);
    }
    if (end < s.size() && (s[end] == 'e' || s[end] == 'E')) {
        std::size_t j = end + 1 + (s[end + 1] == '+' || s[end + 1] == '-');
        if (j < s.size() && digit(s[j]))
            for (end = j; end < s.size() && digit(s[end]);)
                ++end;
    }
    const double want = digits == 0 ? 0.0 : std::strtod(s.substr(0, end).c_str(), nullptr);
    const ParsedNumber got = parseNumber(text);
    if (got.overflow != std::isinf(want) || !std::isfinite(got.value)) return "overflow flagged wrongly";
    if (got.overflow) return "";
    if (std::bit_cast<std::uint64_t>(got.value) != std::bit_cast<std::uint64_t>(want)) return "read another value";
    return formatFault(got.value);
}

std::string formatFault(double value)
{
    const std::string text(formatNumber(value).view());
    return text == referenceText(value) ? "" : "formatted as " + text + " not " + referenceText(value);
}

} // namespace tolvu::checks
