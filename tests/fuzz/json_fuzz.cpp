// Any bytes a user can feed the command line, written as a JSON string,
// under the sanitizers: one quoted literal without raw control characters.
// What each byte becomes is pinned by the command line's own tests.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "json_text.h"
#include "number_checks.h"

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
    return 0;
}
