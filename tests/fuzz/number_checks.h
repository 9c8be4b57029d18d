// The number text as the C library reads and writes it (strtod, printf),
// rather than as the engine does, so a fault in the parse or the format
// cannot hide behind the same fault in its check. The engine tests, the
// property tests and the fuzz targets share it.
#pragma once

#include <string>
#include <string_view>

namespace tolvu::checks {

// "%.15G": rounded to 15 significant digits, without trailing zeros, in the
// exponent form below 1E-04 and from 1E+15 on, as the number text is
// written; and zero without a sign. Empty for inf and nan.
std::string referenceText(double value);

// Empty when the parse reads `text` as the correctly rounded value of its
// leading number once blanks, tabs and line feeds are dropped (0 without a
// digit), with overflow flagged beyond the double range, and that value
// formats well; otherwise what is wrong.
std::string parseFault(std::string_view text);

// Empty when `value` formats into its reference text.
std::string formatFault(double value);

} // namespace tolvu::checks
