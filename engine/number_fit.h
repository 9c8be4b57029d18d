// A number text too wide for its box, shortened the way a spreadsheet
// shortens a number in a narrow column: rounded, never cut.
#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace tolvu {

// The longest rounding of the number text `text` that `fits`, with no more
// significant digits than the text has: in the exponent form where the text
// has an exponent; otherwise with fewer decimals, or in the exponent form
// where the fixed form cannot keep four significant digits (or all of them,
// if the text has fewer). Rounds half up on the written digits, drops
// trailing zeros, writes "-" before a negative number, "E", the exponent's
// sign and at least two exponent digits. Where not even one digit fits, the
// exponent form with one digit. A zero reads "0".
//
// A number text is a sign, digits with at most one point and an optional
// exponent, and nothing else: no blank, no other character. Anything else
// (and an exponent beyond nine digits) yields nullopt.
//
// `longest` caps the length of the texts offered to `fits`, so a huge text
// costs time linear in its length.
std::optional<std::string> fitNumberText(std::string_view text, std::size_t longest,
                                         const std::function<bool(std::string_view)>& fits);

} // namespace tolvu
