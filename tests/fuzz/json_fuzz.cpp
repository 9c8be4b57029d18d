// Any bytes a user can feed the command line, written as a JSON string: a
// quoted literal without raw control characters, in well-formed UTF-8, and
// the text itself where the text needs no escape and no replacement.
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
        const std::size_t n = b < 0x80                ? 1
                              : b >= 0xC2 && b < 0xE0 ? 2
                              : b >= 0xE0 && b < 0xF0 ? 3
                              : b >= 0xF0 && b < 0xF5 ? 4
                                                      : 0;
        if (n == 0 || i + n > s.size()) return false;
        std::uint32_t cp = n == 1 ? b : b & (0x7Fu >> n);
        for (std::size_t k = 1; k < n; ++k) {
            const auto c = static_cast<unsigned char>(s[i + k]);
            if ((c & 0xC0) != 0x80) return false;
            cp = cp << 6 | (c & 0x3Fu);
        }
        if ((n == 3 && cp < 0x800) || (n == 4 && (cp < 0x10000 || cp > 0x10FFFF)) || (cp >= 0xD800 && cp <= 0xDFFF))
            return false;
        i += n;
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using tolvu::checks::require;
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    std::string out;
    tolvu::cli::appendJsonString(out, text);

    require(out.size() >= 2 && out.front() == '"' && out.back() == '"', "not a quoted string", text);
    for (std::size_t i = 1; i + 1 < out.size(); ++i) {
        require(static_cast<unsigned char>(out[i]) >= 0x20 && out[i] != '"', "a raw control or quote", text);
        i += out[i] == '\\'; // what the backslash escapes
    }
    require(wellFormedUtf8(out), "ill-formed UTF-8", text);
    bool plain = wellFormedUtf8(text);
    for (char c : text)
        plain = plain && static_cast<unsigned char>(c) >= 0x20 && c != '"' && c != '\\';
    require(!plain || out == '"' + std::string(text) + '"', "plain text changed", text);
    return 0;
}
