// The number format as it was before the fast roundings of
// engine/number_text.cpp: to_chars' scientific form with 14 decimals, read
// back and laid out again. Kept only so that bench/run can time both in the
// same run; the product no longer uses it.
#include "format_before.h"

#include <charconv>
#include <cmath>
#include <string_view>

namespace tolvu::bench {

NumberText formatBefore(double value) noexcept
{
    if (!std::isfinite(value)) return {};
    if (value == 0.0) return NumberText("0");

    // Scientific with 14 decimals is exactly the correctly rounded 15
    // significant digits; the exponent read back already reflects a carry
    // such as 9.999...e14 -> 1.00000000000000e+15.
    char sci[40];
    const auto res = std::to_chars(sci, sci + sizeof sci, value, std::chars_format::scientific, 14);
    const std::string_view s(sci, static_cast<std::size_t>(res.ptr - sci));
    const bool negative = s.front() == '-';
    const std::size_t mantissaStart = negative ? 1 : 0;
    const std::size_t e = s.find('e');

    char digits[16];
    std::size_t nd = 0;
    for (std::size_t i = mantissaStart; i < e; ++i) {
        if (s[i] != '.') digits[nd++] = s[i];
    }
    while (nd > 1 && digits[nd - 1] == '0')
        --nd;

    int exp10 = 0;
    std::from_chars(s.data() + e + 1 + (s[e + 1] == '+' ? 1 : 0), s.data() + s.size(), exp10);

    char out[NumberText::kCapacity];
    std::size_t n = 0;
    if (negative) out[n++] = '-';
    if (exp10 < -4 || exp10 >= 15) {
        out[n++] = digits[0];
        if (nd > 1) {
            out[n++] = '.';
            for (std::size_t i = 1; i < nd; ++i)
                out[n++] = digits[i];
        }
        out[n++] = 'E';
        out[n++] = exp10 < 0 ? '-' : '+';
        const int mag = exp10 < 0 ? -exp10 : exp10;
        if (mag < 10) out[n++] = '0';
        n = static_cast<std::size_t>(std::to_chars(out + n, out + sizeof out, mag).ptr - out);
    } else if (exp10 < 0) {
        out[n++] = '0';
        out[n++] = '.';
        for (int i = -1; i > exp10; --i)
            out[n++] = '0';
        for (std::size_t i = 0; i < nd; ++i)
            out[n++] = digits[i];
    } else {
        const std::size_t intDigits = static_cast<std::size_t>(exp10) + 1;
        for (std::size_t i = 0; i < intDigits; ++i)
            out[n++] = i < nd ? digits[i] : '0';
        if (nd > intDigits) {
            out[n++] = '.';
            for (std::size_t i = intDigits; i < nd; ++i)
                out[n++] = digits[i];
        }
    }
    return NumberText(std::string_view(out, n));
}

} // namespace tolvu::bench
