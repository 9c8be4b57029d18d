#include "number_text.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <string>
#include <system_error>

namespace tolvu {
namespace {

bool isBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\n';
}
bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

// Walks the text with the blanks taken out, so "1 000" and "1\t0e 3" read
// as the user sees them.
class BlankSkippingCursor {
public:
    explicit BlankSkippingCursor(std::string_view s) : s_(s) { skip(); }
    bool done() const { return pos_ >= s_.size(); }
    char peek() const { return done() ? '\0' : s_[pos_]; }
    void advance()
    {
        ++pos_;
        skip();
    }

private:
    void skip()
    {
        while (pos_ < s_.size() && isBlank(s_[pos_]))
            ++pos_;
    }
    std::string_view s_;
    std::size_t pos_ = 0;
};

// Decides between overflow and underflow when from_chars reports the value
// out of range: the decimal order of the first significant digit plus the
// exponent says which side of the double range the number lies on.
bool isTooLarge(std::string_view mantissa, long long exponent)
{
    long long order = 0;
    const std::size_t point = std::min(mantissa.find('.'), mantissa.size());
    const std::size_t first = mantissa.find_first_of("123456789");
    if (first == std::string_view::npos) return false;
    order = first < point ? static_cast<long long>(point - first) : -static_cast<long long>(first - point - 1);
    return order + exponent > 0;
}

} // namespace

ParsedNumber parseNumber(std::string_view text)
{
    // The number is copied without blanks and without a leading "+", the
    // form from_chars accepts; short numbers stay in the string's own buffer.
    std::string number;
    BlankSkippingCursor in(text);
    bool negative = false;
    if (in.peek() == '+' || in.peek() == '-') {
        negative = in.peek() == '-';
        if (negative) number.push_back('-');
        in.advance();
    }
    bool digits = false;
    bool point = false;
    for (;; in.advance()) {
        const char c = in.peek();
        if (isDigit(c)) {
            digits = true;
        } else if (c == '.' && !point) {
            point = true;
        } else {
            break;
        }
        number.push_back(c);
    }
    if (!digits) return {};

    const std::size_t mantissaEnd = number.size();
    long long exponent = 0; // saturated copy, only to tell overflow from underflow
    bool whole = in.done();
    if (in.peek() == 'e' || in.peek() == 'E') {
        // An exponent counts only when a digit follows its optional sign;
        // "1e" and "1e+" read as 1.
        BlankSkippingCursor look = in;
        look.advance();
        std::string exp = "e";
        bool expNegative = false;
        if (look.peek() == '+' || look.peek() == '-') {
            expNegative = look.peek() == '-';
            exp.push_back(look.peek());
            look.advance();
        }
        if (isDigit(look.peek())) {
            for (; isDigit(look.peek()); look.advance()) {
                exp.push_back(look.peek());
                exponent = std::min(exponent * 10 + (look.peek() - '0'), 1'000'000'000'000LL);
            }
            if (expNegative) exponent = -exponent;
            number += exp;
            whole = look.done();
        }
    }

    double value = 0.0;
    const auto [ptr, ec] = std::from_chars(number.data(), number.data() + number.size(), value);
    (void)ptr;
    if (ec == std::errc::result_out_of_range) {
        const std::string_view mantissa =
            std::string_view(number).substr(negative ? 1 : 0, mantissaEnd - (negative ? 1 : 0));
        if (isTooLarge(mantissa, exponent)) return {0.0, true, whole};
        return {negative ? -0.0 : 0.0, false, whole};
    }
    if (ec != std::errc()) return {};
    return {value, false, whole};
}

NumberText::NumberText(std::string_view s) noexcept
{
    len_ = static_cast<std::uint8_t>(std::min(s.size(), kCapacity));
    std::copy_n(s.data(), len_, buf_.data());
}

NumberText formatNumber(double value) noexcept
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

} // namespace tolvu
