// Checks of the number text against the C library's own decimal conversions
// (strtod, printf) rather than the engine's, so a fault in the parse or the
// format cannot hide behind the same fault in its check. The property tests
// and the fuzz targets share them.
#pragma once

#include <string>
#include <string_view>

namespace tolvu::checks {

struct Reference {
    double value = 0.0;
    bool overflow = false; // the decimal lies beyond the double range
};

// What a box's text denotes: blanks, tabs and line feeds dropped, then the
// longest leading decimal number, correctly rounded; no digit reads as 0.
Reference referenceParse(std::string_view text);

// Empty when `text` is the number text of the finite `value`: its grammar
// and form for the magnitude, at most 15 significant digits, the sign, and
// the value rounded to 15 digits when read back. Otherwise what is wrong.
std::string numberTextFault(std::string_view text, double value);

// For the fuzz targets: unless `ok`, prints what failed for which input and
// aborts, so that libFuzzer keeps the input as a finding.
void require(bool ok, std::string_view what, std::string_view input);

} // namespace tolvu::checks
