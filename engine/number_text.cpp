#include "number_text.h"

#include <algorithm>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <limits>
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

namespace {

// A number rounded to at most 15 significant digits: the digits without
// trailing zeros, and the decimal exponent of the first one.
struct Decimal {
    bool negative = false;
    char digits[32]; // 15 used, room to move 16 from any of them
    std::size_t count = 0;
    int exp10 = 0;
};

// Reads to_chars' scientific form, "-1.2345e+05", into its parts.
Decimal readScientific(const char* first, const char* last)
{
    Decimal d;
    d.negative = *first == '-';
    const char* p = first + (d.negative ? 1 : 0);
    for (; *p != 'e'; ++p) {
        if (*p != '.') d.digits[d.count++] = *p;
    }
    std::from_chars(p + 1 + (p[1] == '+' ? 1 : 0), last, d.exp10);
    return d;
}

void dropTrailingZeros(Decimal& d)
{
    while (d.count > 1 && d.digits[d.count - 1] == '0')
        --d.count;
}

// Right for every finite non-zero double, but several times slower than the
// two ways below: scientific with 14 decimals is exactly the correctly
// rounded 15 significant digits, and its exponent already reflects a carry
// such as 9.999...e14 -> 1.00000000000000e+15.
Decimal roundedExactly(double value)
{
    char sci[40];
    const auto res = std::to_chars(sci, sci + sizeof sci, value, std::chars_format::scientific, 14);
    Decimal d = readScientific(sci, res.ptr);
    dropTrailingZeros(d);
    return d;
}

// 10^0 to 10^22: the powers of ten that a double holds exactly.
constexpr std::array<double, 23> kExactPowers = [] {
    std::array<double, 23> p{};
    double x = 1.0;
    for (double& e : p) {
        e = x;
        x *= 10.0;
    }
    return p;
}();

// 10^0 to 10^19: the powers of ten below 2^64.
constexpr std::array<std::uint64_t, 20> kPowers = [] {
    std::array<std::uint64_t, 20> p{};
    std::uint64_t x = 1;
    for (std::uint64_t& e : p) {
        e = x;
        x *= 10;
    }
    return p;
}();

// "00" to "99", so that digits are written two at a time.
constexpr std::array<char, 200> kDigitPairs = [] {
    std::array<char, 200> p{};
    for (std::size_t i = 0; i < 100; ++i) {
        p[2 * i] = static_cast<char>('0' + i / 10);
        p[2 * i + 1] = static_cast<char>('0' + i % 10);
    }
    return p;
}();

// Writes the `count` last decimal digits of `n` so that they end at `end`.
void writeDigits(char* end, std::uint32_t n, int count)
{
    for (; count >= 2; count -= 2, n /= 100) {
        end -= 2;
        std::copy_n(&kDigitPairs[2 * (n % 100)], 2, end);
    }
    if (count == 1) end[-1] = static_cast<char>('0' + n);
}

// `n` is the value in units of its 15th digit, 10^14 to 10^15 (a carry).
// Fills `d` in place: a copy of it, read back wider than its digits were
// stored, costs the CPU more than writing them.
void fromDigits(bool negative, std::uint64_t n, int exp10, Decimal& d)
{
    d.negative = negative;
    if (n == kPowers[15]) {
        n = kPowers[14];
        ++exp10;
    }
    // Two 32-bit halves: 64-bit division is far slower on 32-bit machines.
    writeDigits(d.digits + 7, static_cast<std::uint32_t>(n / 100'000'000), 7);
    const auto low = static_cast<std::uint32_t>(n % 100'000'000);
    d.count = low == 0 ? 7 : 15; // whole numbers often end in eight zeros
    if (low != 0) writeDigits(d.digits + 15, low, 8);
    d.exp10 = exp10;
    dropTrailingZeros(d);
}

// hi + lo is a * b exactly (Dekker). The engine is built without fused
// multiply-add, so each half is split by hand.
void exactProduct(double a, double b, double& hi, double& lo)
{
    const auto split = [](double x, double& high, double& low) {
        const double c = 134217729.0 * x; // 2^27 + 1
        high = c - (c - x);
        low = x - high;
    };
    double ah, al, bh, bl;
    split(a, ah, al);
    split(b, bh, bl);
    hi = a * b;
    lo = ((ah * bh - hi) + ah * bl + al * bh) + al * bl;
}

// A value from about 1E-08 up to 1E+15, times an exact power of ten, is
// 10^14 to 10^15 units of its 15th digit, and the exact product says on
// which side of the halfway point the rest lies. False for other values,
// and for a tie.
bool roundedByProduct(double magnitude, bool negative, Decimal& d)
{
    // The value is at least 2^e, e its unbiased binary exponent (and far
    // less for a subnormal, which the range check below then turns away);
    // floor(e * log10(2)) is at most one below its decimal exponent.
    const int binaryExponent = static_cast<int>(std::bit_cast<std::uint64_t>(magnitude) >> 52) - 1023;
    int exp10 = (binaryExponent * 78913) >> 18;
    const auto multiply = [&](double& hi, double& lo) {
        if (exp10 > 14 || exp10 < 14 - 22) return false;
        exactProduct(magnitude, kExactPowers[static_cast<std::size_t>(14 - exp10)], hi, lo);
        return true;
    };
    double hi = 0.0, lo = 0.0;
    if (!multiply(hi, lo)) return false;
    // One digit too many; once more, the product may still round to 10^15,
    // which is the carry of a value just below it.
    if (hi >= 1e15) {
        ++exp10;
        if (!multiply(hi, lo)) return false;
    }
    const double whole = static_cast<double>(static_cast<std::uint64_t>(hi));
    const double aboveHalf = (hi - whole) - 0.5; // exact: hi has no bits below 2^-7
    if (aboveHalf == -lo) return false;
    fromDigits(negative, static_cast<std::uint64_t>(whole) + (aboveHalf > -lo ? 1 : 0), exp10, d);
    return true;
}

// A value from 1E+15 up to 2^64 is a whole number, or at the finest an
// eighth of one: integer division rounds it, ties to even as the C library
// does.
bool roundedByDivision(double magnitude, bool negative, Decimal& d)
{
    if (magnitude < 1e15 || magnitude >= 18446744073709551616.0) return false;
    const auto whole = static_cast<std::uint64_t>(magnitude);
    std::size_t digits = 16;
    while (digits < 20 && whole >= kPowers[digits])
        ++digits;
    const std::uint64_t unit = kPowers[digits - 15];
    std::uint64_t n = whole / unit;
    const std::uint64_t rest = whole % unit;
    const bool fraction = magnitude > static_cast<double>(whole);
    if (rest > unit / 2 || (rest == unit / 2 && (fraction || n % 2 == 1))) ++n;
    fromDigits(negative, n, static_cast<int>(digits) - 1, d);
    return true;
}

// The two fast ways cover the magnitudes that conversions meet; the exact
// rounding takes the rest.
Decimal roundedTo15Digits(double value)
{
    const bool negative = std::signbit(value);
    const double magnitude = std::fabs(value);
    Decimal d;
    if (!roundedByProduct(magnitude, negative, d) && !roundedByDivision(magnitude, negative, d))
        d = roundedExactly(value);
    return d;
}

} // namespace

NumberText formatNumber(double value) noexcept
{
    if (!std::isfinite(value)) return {};
    if (value == 0.0) return NumberText("0");

    const Decimal d = roundedTo15Digits(value);
    const char* digits = d.digits;
    const std::size_t nd = d.count;
    const int exp10 = d.exp10;

    // Runs of digits and zeros are moved 16 bytes at a time whatever their
    // length, which is cheaper than a loop: both buffers have room for that.
    char out[NumberText::kCapacity + 16];
    char* p = out;
    const auto put = [&p](const char* from, std::size_t count) {
        std::memcpy(p, from, 16);
        p += count;
    };
    const auto zeros = [&p](std::size_t count) {
        std::memset(p, '0', 16);
        p += count;
    };
    if (d.negative) *p++ = '-';
    if (exp10 < -4 || exp10 >= 15) {
        *p++ = digits[0];
        if (nd > 1) {
            *p++ = '.';
            put(digits + 1, nd - 1);
        }
        *p++ = 'E';
        *p++ = exp10 < 0 ? '-' : '+';
        const int mag = exp10 < 0 ? -exp10 : exp10;
        if (mag < 10) *p++ = '0';
        p = std::to_chars(p, out + sizeof out, mag).ptr;
    } else if (exp10 < 0) {
        *p++ = '0';
        *p++ = '.';
        zeros(static_cast<std::size_t>(-exp10 - 1));
        put(digits, nd);
    } else if (const auto intDigits = static_cast<std::size_t>(exp10) + 1; nd <= intDigits) {
        put(digits, nd);
        zeros(intDigits - nd);
    } else {
        put(digits, intDigits);
        *p++ = '.';
        put(digits + intDigits, nd - intDigits);
    }
    const auto n = static_cast<std::size_t>(p - out);
    return NumberText(std::string_view(out, n));
}

} // namespace tolvu
