// JSON string literals for whatever bytes a user fed in: the output must stay
// valid JSON even when a line is not valid UTF-8.
#pragma once

#include <string>
#include <string_view>

namespace tolvu::cli {

// Appends `text` to `out` as a quoted JSON string. Quotes, backslashes and
// control characters are escaped; well-formed UTF-8 is copied as it is and
// every maximal ill-formed subsequence becomes one U+FFFD, the replacement
// practice Unicode recommends.
void appendJsonString(std::string& out, std::string_view text);

} // namespace tolvu::cli
