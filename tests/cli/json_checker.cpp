#include "json_checker.h"

#include <cstdint>

namespace tolvu::cli::test {
namespace {

class Reader {
public:
    explicit Reader(std::string_view text) : s_(text) {}

    bool document()
    {
        blanks();
        if (!value(0)) return false;
        blanks();
        return i_ == s_.size();
    }

private:
    bool value(int depth)
    {
        if (depth > 64 || i_ >= s_.size()) return false;
        switch (s_[i_]) {
        case '{': return list('}', depth, true);
        case '[': return list(']', depth, false);
        case '"': return string();
        case 'n': return word("null");
        default: return false;
        }
    }

    // The members of an object or the elements of an array.
    bool list(char close, int depth, bool members)
    {
        ++i_;
        blanks();
        if (eat(close)) return true;
        for (;;) {
            blanks();
            if (members) {
                if (!string()) return false;
                blanks();
                if (!eat(':')) return false;
                blanks();
            }
            if (!value(depth + 1)) return false;
            blanks();
            if (eat(close)) return true;
            if (!eat(',')) return false;
        }
    }

    bool string()
    {
        if (!eat('"')) return false;
        while (i_ < s_.size()) {
            const auto c = static_cast<unsigned char>(s_[i_]);
            if (c == '"') {
                ++i_;
                return true;
            }
            if (c < 0x20 || !(c == '\\' ? escape() : utf8())) return false;
        }
        return false;
    }

    bool word(std::string_view w)
    {
        if (s_.substr(i_, w.size()) != w) return false;
        i_ += w.size();
        return true;
    }

    bool escape()
    {
        ++i_;
        if (i_ >= s_.size()) return false;
        const char c = s_[i_++];
        if (std::string_view("\"\\/bfnrt").find(c) != std::string_view::npos) return true;
        if (c != 'u' || i_ + 4 > s_.size()) return false;
        std::uint32_t cp = 0;
        for (const char h : s_.substr(i_, 4)) {
            const char l = static_cast<char>(h | 0x20);
            const int d = h >= '0' && h <= '9' ? h - '0' : l >= 'a' && l <= 'f' ? l - 'a' + 10 : -1;
            if (d < 0) return false;
            cp = cp * 16 + static_cast<std::uint32_t>(d);
        }
        i_ += 4;
        return cp < 0xD800 || cp > 0xDFFF;
    }

    // One raw character, decoded and checked against the code point range
    // rather than against byte tables, so it does not share the writer's logic.
    bool utf8()
    {
        const auto lead = static_cast<unsigned char>(s_[i_]);
        const int extra = lead < 0x80 ? 0 : (lead & 0xE0) == 0xC0 ? 1 : (lead & 0xF0) == 0xE0 ? 2 : 3;
        if (extra == 3 && (lead & 0xF8) != 0xF0) return false;
        if (i_ + static_cast<std::size_t>(extra) >= s_.size()) return false;
        std::uint32_t cp = lead & (0x7Fu >> extra);
        for (int k = 1; k <= extra; ++k) {
            const auto c = static_cast<unsigned char>(s_[i_ + static_cast<std::size_t>(k)]);
            if ((c & 0xC0) != 0x80) return false;
            cp = (cp << 6) | (c & 0x3Fu);
        }
        constexpr std::uint32_t kLeast[] = {0, 0x80, 0x800, 0x10000};
        if (cp < kLeast[extra] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return false;
        i_ += static_cast<std::size_t>(extra) + 1;
        return true;
    }

    void blanks()
    {
        while (i_ < s_.size() && std::string_view(" \t\n\r").find(s_[i_]) != std::string_view::npos)
            ++i_;
    }

    bool eat(char c)
    {
        if (i_ >= s_.size() || s_[i_] != c) return false;
        ++i_;
        return true;
    }

    std::string_view s_;
    std::size_t i_ = 0;
};

} // namespace

bool isValidJson(std::string_view text)
{
    return Reader(text).document();
}

} // namespace tolvu::cli::test
