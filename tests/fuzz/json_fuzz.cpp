// Any bytes a user can feed the command line, written as a JSON string: a
// quoted literal without raw control characters, in well-formed UTF-8.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "json_text.h"
#include "number_checks.h"

namespace {

// No stray continuation byte, no overlong form, no surrogate, nothing past
// U+10FFFF.
bool wellFormedUtf8(std::string_view s)
{
    for (std::size_t i = 0; i < s.size();) {
        const auto b = static_cast<unsigned char>(s[i]);
        const std::size_t n = b < 0x80 ? 1 : b < 0xC2 ? 0 : b < 0xE0 ? 2 : b < 0xF0 ? 3 : b < 0xF5 ? 4 : 0;
        std::uint32_t cp = n == 1 ? b : b & (0x7Fu >> n);
        for (std::size_t k = 1; k < n; ++k) {
            if (i + k >= s.size() || (s[i + k] & 0xC0) != 0x80) return false;
            cp = cp << 6 | (s[i + k] & 0x3Fu);
        }
        if (n == 0 || (n == 3 && cp < 0x800) || (n == 4 && (cp < 0x10000 || cp > 0x10FFFF)) ||
            (cp >= 0xD800 && cp <= 0xDFFF))
            return false;
        i += n;
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    std::string out;
    tolvu::cli::appendJsonString(out, text);
    bool quoted = out.size() >= 2 && out.front() == '"' && out.back() == '"';
    for (std::size_t i = 1; quoted && i + 1 < out.size(); ++i) {
        quoted = static_cast<unsigned char>(out[i]) >= 0x20 && out[i] != '"';
        i += out[i] == '\\'; // the escaped character
    }
    tolvu::checks::require(quoted, "not one quoted string without raw controls", text);
    tolvu::checks::require(wellFormedUtf8(out), "ill-formed UTF-8", text);
    return 0;
}
