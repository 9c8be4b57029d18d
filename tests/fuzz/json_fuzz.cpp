// Any bytes a user can feed the command line, written as a JSON string: the
// literal must be valid JSON and read back as the bytes themselves, except
// that each maximal ill-formed UTF-8 subpart reads as one U+FFFD.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "fuzz_checks.h"
#include "json_text.h"

namespace {

using tolvu::fuzz::require;

constexpr std::string_view kReplacement = "\xEF\xBF\xBD";

bool isContinuation(unsigned char c)
{
    return (c & 0xC0) == 0x80;
}

// Whether the first `k` bytes of an `n`-byte sequence can still be completed
// into a scalar value: the code points their bits leave open, from all
// further payload bits zero to all one, must meet the values an n-byte form
// may carry, and not only surrogates.
bool canStillBeValid(const unsigned char* b, int k, int n)
{
    std::uint32_t lo = b[0] & (0x7Fu >> n);
    for (int j = 1; j < k; ++j)
        lo = (lo << 6) | (b[j] & 0x3Fu);
    std::uint32_t hi = lo;
    for (int j = k; j < n; ++j) {
        lo <<= 6;
        hi = (hi << 6) | 0x3F;
    }
    const std::uint32_t shortest = n == 2 ? 0x80 : n == 3 ? 0x800 : 0x10000;
    lo = std::max(lo, shortest);
    hi = std::min<std::uint32_t>(hi, 0x10FFFF);
    return lo <= hi && !(lo >= 0xD800 && hi <= 0xDFFF);
}

// `text` with every maximal subpart of an ill-formed sequence replaced by
// U+FFFD.
std::string wellFormed(std::string_view text)
{
    const auto* b = reinterpret_cast<const unsigned char*>(text.data());
    std::string out;
    std::size_t i = 0;
    while (i < text.size()) {
        const int n = b[i] < 0x80             ? 1
                      : (b[i] & 0xE0) == 0xC0 ? 2
                      : (b[i] & 0xF0) == 0xE0 ? 3
                      : (b[i] & 0xF8) == 0xF0 ? 4
                                              : 0;
        if (n == 1) {
            out += text[i++];
            continue;
        }
        if (n == 0 || !canStillBeValid(b + i, 1, n)) {
            out += kReplacement;
            ++i;
            continue;
        }
        int k = 1;
        while (k < n && i + k < text.size() && isContinuation(b[i + k]) && canStillBeValid(b + i, k + 1, n))
            ++k;
        if (k == n)
            out.append(text.substr(i, n));
        else
            out += kReplacement;
        i += static_cast<std::size_t>(k);
    }
    return out;
}

void appendUtf8(std::string& out, std::uint32_t cp)
{
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

std::optional<std::uint32_t> hex4(std::string_view s, std::size_t at)
{
    if (at + 4 > s.size()) return std::nullopt;
    std::uint32_t v = 0;
    for (std::size_t i = at; i < at + 4; ++i) {
        const char c = s[i];
        const int d = c >= '0' && c <= '9'   ? c - '0'
                      : c >= 'a' && c <= 'f' ? c - 'a' + 10
                      : c >= 'A' && c <= 'F' ? c - 'A' + 10
                                             : -1;
        if (d < 0) return std::nullopt;
        v = v * 16 + static_cast<std::uint32_t>(d);
    }
    return v;
}

// Reads `literal` as exactly one JSON string; nothing when it is not one.
std::optional<std::string> readJsonString(std::string_view literal)
{
    if (literal.size() < 2 || literal.front() != '"') return std::nullopt;
    std::string out;
    std::size_t i = 1;
    while (i < literal.size()) {
        const auto c = static_cast<unsigned char>(literal[i]);
        if (c == '"') return i + 1 == literal.size() ? std::optional(out) : std::nullopt;
        if (c < 0x20) return std::nullopt;
        if (c != '\\') {
            out += literal[i++];
            continue;
        }
        if (++i >= literal.size()) return std::nullopt;
        const char e = literal[i++];
        switch (e) {
        case '"': out += '"'; continue;
        case '\\': out += '\\'; continue;
        case '/': out += '/'; continue;
        case 'b': out += '\b'; continue;
        case 'f': out += '\f'; continue;
        case 'n': out += '\n'; continue;
        case 'r': out += '\r'; continue;
        case 't': out += '\t'; continue;
        case 'u': break;
        default: return std::nullopt;
        }
        std::optional<std::uint32_t> unit = hex4(literal, i);
        if (!unit || (*unit >= 0xDC00 && *unit <= 0xDFFF)) return std::nullopt;
        i += 4;
        std::uint32_t cp = *unit;
        if (cp >= 0xD800 && cp <= 0xDBFF) {
            if (literal.substr(i, 2) != "\\u") return std::nullopt;
            const std::optional<std::uint32_t> low = hex4(literal, i + 2);
            if (!low || *low < 0xDC00 || *low > 0xDFFF) return std::nullopt;
            i += 6;
            cp = 0x10000 + ((cp - 0xD800) << 10) + (*low - 0xDC00);
        }
        appendUtf8(out, cp);
    }
    return std::nullopt;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    // What the converter already wrote stays as it was.
    std::string out = "{\"input\":";
    const std::size_t start = out.size();
    tolvu::cli::appendJsonString(out, text);

    require(out.compare(0, start, "{\"input\":") == 0, "the text before the string changed", text);
    const std::optional<std::string> read = readJsonString(std::string_view(out).substr(start));
    require(read.has_value(), "not one valid JSON string", out);
    require(*read == wellFormed(text), "the JSON string reads back as other text", text);
    return 0;
}
