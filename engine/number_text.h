// Number text: how a box's text is read as a double and how a double is
// written back. The decimal separator is always "." whatever the locale.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

namespace tolvu {

struct ParsedNumber {
    double value = 0.0;
    // The text denotes a finite number beyond the double range (1e999).
    bool overflow = false;
    // The number took the whole text, blanks aside: "1 000" and "1e5", but
    // not "", "1,5", "1e" or "abc". For callers that refuse trailing rubbish.
    bool whole = false;
};

// Reads the longest leading decimal number of `text` after dropping every
// blank, tab and line feed: an optional sign, digits with at most one point
// and an optional E/e exponent. No digit at all reads as 0; a number too
// small for a double reads as the nearest double (a subnormal or zero).
// Radix prefixes such as &H are not numbers here and read as 0.
// Linear in the length of the text. The number is copied without its
// blanks, so a text that fills the memory may throw std::bad_alloc.
ParsedNumber parseNumber(std::string_view text);

// A formatted number; fixed storage so the hot path never allocates.
class NumberText {
public:
    static constexpr std::size_t kCapacity = 32;

    NumberText() = default;
    explicit NumberText(std::string_view s) noexcept;

    std::string_view view() const noexcept { return {buf_.data(), len_}; }
    // All kCapacity bytes, the text and what follows it: for callers that
    // move a fixed size rather than the text's own length.
    const std::array<char, kCapacity>& storage() const noexcept { return buf_; }
    bool empty() const noexcept { return len_ == 0; }
    friend bool operator==(const NumberText& a, const NumberText& b) noexcept { return a.view() == b.view(); }

private:
    std::array<char, kCapacity> buf_{};
    std::uint8_t len_ = 0;
};

// Writes `value` rounded to 15 significant digits, without trailing zeros
// or a trailing point, "-" only before a negative value (so -0 shows "0"),
// with a "0" before the point of values between -1 and 1, and in the form
// 1.57828E-05 / 1E+308 for magnitudes below 1E-04 or from 1E+15 on.
// A non-finite value has no number text and yields the empty text.
NumberText formatNumber(double value) noexcept;

} // namespace tolvu
