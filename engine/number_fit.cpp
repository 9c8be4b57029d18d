#include "number_fit.h"

#include <algorithm>

namespace tolvu {
namespace {

constexpr long long kLargestExponent = 999'999'999;
// Fewer significant digits than this and the fixed form gives way to the
// exponent form: 0.00000000000000005123 reads better as 5.123E-17 than as 0.
constexpr std::size_t kLeastFixedDigits = 4;

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

// A number text taken apart.
struct Digits {
    bool negative = false;
    // The significant digits: the first is not 0, trailing zeros are
    // dropped; none for zero.
    std::string digits;
    // The power of ten of the first significant digit.
    long long order = 0;
    bool exponent = false;
    std::size_t decimals = 0;
};

std::optional<Digits> readDigits(std::string_view text)
{
    Digits d;
    std::size_t i = 0;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) d.negative = text[i++] == '-';
    bool point = false;
    long long integers = 0;
    long long leadingZeros = 0;
    std::size_t mantissa = 0;
    for (; i < text.size(); ++i) {
        if (text[i] == '.' && !point) {
            point = true;
            continue;
        }
        if (!isDigit(text[i])) break;
        ++mantissa;
        point ? ++d.decimals : ++integers;
        if (d.digits.empty() && text[i] == '0')
            ++leadingZeros;
        else
            d.digits.push_back(text[i]);
    }
    if (mantissa == 0) return std::nullopt;

    long long exponent = 0;
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        d.exponent = true;
        ++i;
        const bool negative = i < text.size() && text[i] == '-';
        if (i < text.size() && (text[i] == '-' || text[i] == '+')) ++i;
        const std::size_t first = i;
        for (; i < text.size() && isDigit(text[i]); ++i) {
            exponent = exponent * 10 + (text[i] - '0');
            if (exponent > kLargestExponent) return std::nullopt;
        }
        if (i == first) return std::nullopt;
        if (negative) exponent = -exponent;
    }
    if (i != text.size()) return std::nullopt;

    while (!d.digits.empty() && d.digits.back() == '0')
        d.digits.pop_back();
    d.order = integers - 1 - leadingZeros + exponent;
    return d;
}

// The first `n` significant digits, rounded half up on the next one, without
// trailing zeros; `order` grows by one where the rounding carries out of
// them (9.96 to 10).
std::string rounded(const Digits& d, std::size_t n, long long& order)
{
    std::string kept = d.digits.substr(0, n);
    if (n < d.digits.size() && d.digits[n] >= '5') {
        while (!kept.empty() && kept.back() == '9')
            kept.pop_back();
        if (kept.empty()) {
            kept.push_back('1');
            ++order;
        } else {
            ++kept.back();
        }
    }
    while (kept.size() > 1 && kept.back() == '0')
        kept.pop_back();
    return kept;
}

std::string exponentForm(const Digits& d, std::size_t n)
{
    long long order = d.order;
    const std::string kept = rounded(d, n, order);
    std::string out = d.negative ? "-" : "";
    out += kept.front();
    if (kept.size() > 1) out.append(".").append(kept, 1);
    out += order < 0 ? "E-" : "E+";
    const std::string magnitude = std::to_string(order < 0 ? -order : order);
    if (magnitude.size() < 2) out += '0';
    return out + magnitude;
}

// `n` significant digits written without an exponent; n >= 1.
std::string fixedForm(const Digits& d, std::size_t n)
{
    long long order = d.order;
    const std::string kept = rounded(d, n, order);
    std::string out = d.negative ? "-" : "";
    if (order < 0) return out.append("0.").append(static_cast<std::size_t>(-order - 1), '0').append(kept);
    const auto integers = static_cast<std::size_t>(order) + 1;
    out.append(kept, 0, integers);
    if (kept.size() < integers) return out.append(integers - kept.size(), '0');
    if (kept.size() > integers) out.append(".").append(kept, integers);
    return out;
}

} // namespace

std::optional<std::string> fitNumberText(std::string_view text, std::size_t longest,
                                         const std::function<bool(std::string_view)>& fits)
{
    const std::optional<Digits> d = readDigits(text);
    if (!d) return std::nullopt;
    if (d->digits.empty()) return "0";
    const std::size_t count = d->digits.size();

    if (!d->exponent && d->order < static_cast<long long>(longest)) {
        const auto least = static_cast<long long>(std::min(kLeastFixedDigits, count));
        for (auto decimals = static_cast<long long>(std::min(d->decimals, longest)); decimals >= 0; --decimals) {
            const long long n = d->order + 1 + decimals;
            if (n < least) break;
            std::string shown = fixedForm(*d, static_cast<std::size_t>(n));
            if (fits(shown)) return shown;
        }
    }
    for (std::size_t n = std::clamp<std::size_t>(longest, 1, count);; --n) {
        std::string shown = exponentForm(*d, n);
        if (n == 1 || fits(shown)) return shown;
    }
}

} // namespace tolvu
