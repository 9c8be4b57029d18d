// Checks of the number text against the C library's own decimal conversions
// (strtod, printf) rather than the engine's, so a fault in the parse or the
// format cannot hide behind the same fault in its check. The property tests
// and the fuzz targets share them; each gives back what is wrong, or the
// empty text.
#pragma once

#include <string>
#include <string_view>

namespace tolvu::checks {

// `text` is the number text of the finite `value`: its grammar and form for
// the magnitude, at most 15 significant digits, the sign, and the value
// rounded to 15 digits when read back.
std::string numberTextFault(std::string_view text, double value);

// The parse reads `text` as the correctly rounded value of its leading
// number once blanks, tabs and line feeds are dropped (0 without a digit),
// flags a number beyond the double range, and that value formats well.
std::string parseFault(std::string_view text);

// A finite value formats into its number text; inf and nan into none.
std::string formatFault(double value);

// For the fuzz targets: prints the fault, if any, with the input and aborts,
// so that libFuzzer keeps the input as a finding.
void require(const std::string& fault, std::string_view input);
inline void require(bool ok, const char* fault, std::string_view input)
{
    require(std::string(ok ? "" : fault), input);
}

} // namespace tolvu::checks
