#include "json_text.h"

#include <algorithm>
#include <cstdint>

namespace tolvu::cli {
namespace {

constexpr std::string_view kReplacement = "\xEF\xBF\xBD"; // U+FFFD

void appendEscapedAscii(std::string& out, unsigned char c)
{
    switch (c) {
    case '"': out += "\\\""; return;
    case '\\': out += "\\\\"; return;
    case '\b': out += "\\b"; return;
    case '\f': out += "\\f"; return;
    case '\n': out += "\\n"; return;
    case '\r': out += "\\r"; return;
    case '\t': out += "\\t"; return;
    default: break;
    }
    if (c < 0x20) {
        constexpr char kHex[] = "0123456789abcdef";
        out += "\\u00";
        out.push_back(kHex[c >> 4]);
        out.push_back(kHex[c & 0xF]);
        return;
    }
    out.push_back(static_cast<char>(c));
}

// The length a sequence starting with `lead` must have and the range its
// second byte must fall in, which is what rules out overlong forms,
// surrogates and code points beyond U+10FFFF. Zero length: `lead` can start
// no sequence at all.
struct LeadRule {
    std::uint8_t length;
    unsigned char secondLo;
    unsigned char secondHi;
};

constexpr LeadRule leadRule(unsigned char lead)
{
    if (lead >= 0xC2 && lead <= 0xDF) return {2, 0x80, 0xBF};
    if (lead == 0xE0) return {3, 0xA0, 0xBF};
    if (lead == 0xED) return {3, 0x80, 0x9F};
    if (lead >= 0xE1 && lead <= 0xEF) return {3, 0x80, 0xBF};
    if (lead == 0xF0) return {4, 0x90, 0xBF};
    if (lead == 0xF4) return {4, 0x80, 0x8F};
    if (lead >= 0xF1 && lead <= 0xF3) return {4, 0x80, 0xBF};
    return {0, 0, 0};
}

// How many bytes from `i` on form a well-formed sequence (its length), or,
// when they do not, the negated length of the ill-formed prefix to replace.
int scanSequence(std::string_view text, std::size_t i)
{
    const LeadRule rule = leadRule(static_cast<unsigned char>(text[i]));
    if (rule.length == 0) return -1;
    for (std::size_t k = 1; k < rule.length; ++k) {
        if (i + k >= text.size()) return -static_cast<int>(k);
        const auto c = static_cast<unsigned char>(text[i + k]);
        const unsigned char lo = k == 1 ? rule.secondLo : 0x80;
        const unsigned char hi = k == 1 ? rule.secondHi : 0xBF;
        if (c < lo || c > hi) return -static_cast<int>(k);
    }
    return rule.length;
}

} // namespace

void appendJsonString(std::string& out, std::string_view text)
{
    out.push_back('"');
    // A number typed as text needs no escape and holds no UTF-8: one copy.
    if (std::all_of(text.begin(), text.end(), [](char ch) {
            const auto c = static_cast<unsigned char>(ch);
            return c >= 0x20 && c < 0x80 && c != '"' && c != '\\';
        })) {
        out.append(text).push_back('"');
        return;
    }
    std::size_t i = 0;
    while (i < text.size()) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (c < 0x80) {
            appendEscapedAscii(out, c);
            ++i;
            continue;
        }
        const int n = scanSequence(text, i);
        if (n > 0) {
            out.append(text.substr(i, static_cast<std::size_t>(n)));
            i += static_cast<std::size_t>(n);
        } else {
            out += kReplacement;
            i += static_cast<std::size_t>(-n);
        }
    }
    out.push_back('"');
}

} // namespace tolvu::cli
