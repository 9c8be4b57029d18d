// Checks shared by the fuzz targets. The reference readings come from the C
// library (strtod, printf) rather than from the engine, so a fault in the
// engine's parse or format cannot hide behind the same fault in its check.
#pragma once

#include <string_view>

namespace tolvu::fuzz {

// Ends the run so that libFuzzer keeps the input as a finding.
[[noreturn]] void fail(const char* what, std::string_view detail = {});

inline void require(bool ok, const char* what, std::string_view detail = {})
{
    if (!ok) fail(what, detail);
}

struct Reference {
    double value = 0.0;
    bool overflow = false; // the decimal lies beyond the double range
};

// What a box's text denotes: blanks, tabs and line feeds dropped, then the
// longest leading decimal number, read correctly rounded.
Reference referenceParse(std::string_view text);

// `value` rounded to 15 significant digits, as the decimal a number text
// of `value` must denote.
Reference roundedTo15(double value);

// Aborts unless `text` is the number text of the finite `value`: the
// grammar, at most 15 significant digits, the sign, the exponent form for
// very large and very small magnitudes, and the value it reads back as.
void checkNumberText(std::string_view text, double value);

bool sameBits(double a, double b);

} // namespace tolvu::fuzz
