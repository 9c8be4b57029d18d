// The small text conversions the windows build their captions with.
#pragma once

#include <QString>

namespace tolvu::runtime {

// Decimal digits, "-" before a negative value, no blank, no leading zero.
QString CStr(int value);

// Formats an integer with a picture of zeros ("00", "0000"): zero-padded on
// the left to the picture's length, a longer number shown whole. Any other
// picture gives the plain integer.
QString Format(int value, const QString& picture);

// Replaces every occurrence of `find` in `text` with `replacement`, scanning
// from the first character, case-sensitively, never rescanning what it put
// in. An empty `find` leaves the text as it was.
QString Replace(const QString& text, const QString& find, const QString& replacement);

} // namespace tolvu::runtime
