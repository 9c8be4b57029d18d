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

    // Reads one string literal, appending what it stands for to `out`.
    bool string(std::string* out)
    {
        if (!eat('"')) return false;
        while (i_ < s_.size()) {
            const auto c = static_cast<unsigned char>(s_[i_]);
            if (c == '"') {
                ++i_;
                return true;
            }
            if (c < 0x20) return false;
            if (c == '\\') {
                if (!escape(out)) return false;
            } else if (!utf8(out)) {
                return false;
            }
        }
        return false;
    }

    bool atEnd() const { return i_ == s_.size(); }

private:
    bool value(int depth)
    {
        if (depth > 64 || i_ >= s_.size()) return false;
        switch (s_[i_]) {
        case '{': return object(depth);
        case '[': return array(depth);
        case '"': return string(nullptr);
        case 'n': return word("null");
        default: return false;
        }
    }

    bool object(int depth)
    {
        ++i_;
        blanks();
        if (eat('}')) return true;
        for (;;) {
            blanks();
            if (!string(nullptr)) return false;
            blanks();
            if (!eat(':')) return false;
            blanks();
            if (!value(depth + 1)) return false;
            blanks();
            if (eat('}')) return true;
            if (!eat(',')) return false;
        }
    }

    bool array(int depth)
    {
        ++i_;
        blanks();
        if (eat(']')) return true;
        for (;;) {
            blanks();
            if (!value(depth + 1)) return false;
            blanks();
            if (eat(']')) return true;
            if (!eat(',')) return false;
        }
    }

    bool word(std::string_view w)
    {
        if (s_.substr(i_, w.size()) != w) return false;
        i_ += w.size();
        return true;
    }

    bool escape(std::string* out)
    {
        ++i_;
        if (i_ >= s_.size()) return false;
        const char c = s_[i_++];
        constexpr std::string_view kFrom = "\"\\/bfnrt";
        constexpr std::string_view kTo = "\"\\/\b\f\n\r\t";
        if (const auto k = kFrom.find(c); k != std::string_view::npos) {
            if (out) out->push_back(kTo[k]);
            return true;
        }
        if (c != 'u') return false;
        std::uint32_t cp = 0;
        if (!hex4(cp)) return false;
        if (cp >= 0xD800 && cp <= 0xDBFF) {
            std::uint32_t low = 0;
            if (!word("\\u") || !hex4(low) || low < 0xDC00 || low > 0xDFFF) return false;
            cp = 0x10000 + ((cp - 0xD800) << 10) + (low - 0xDC00);
        } else if (cp >= 0xDC00 && cp <= 0xDFFF) {
            return false;
        }
        if (out) appendUtf8(*out, cp);
        return true;
    }

    bool hex4(std::uint32_t& cp)
    {
        for (int k = 0; k < 4; ++k) {
            if (i_ >= s_.size()) return false;
            const char c = s_[i_++];
            int d = -1;
            if (c >= '0' && c <= '9') d = c - '0';
            if (c >= 'a' && c <= 'f') d = c - 'a' + 10;
            if (c >= 'A' && c <= 'F') d = c - 'A' + 10;
            if (d < 0) return false;
            cp = cp * 16 + static_cast<std::uint32_t>(d);
        }
        return true;
    }

    // One raw character, decoded and checked against the code point range
    // rather than against byte tables, so it does not share the writer's logic.
    bool utf8(std::string* out)
    {
        const auto lead = static_cast<unsigned char>(s_[i_]);
        int extra = 0;
        std::uint32_t cp = 0;
        if (lead < 0x80) {
            cp = lead;
        } else if ((lead & 0xE0) == 0xC0) {
            extra = 1;
            cp = lead & 0x1Fu;
        } else if ((lead & 0xF0) == 0xE0) {
            extra = 2;
            cp = lead & 0x0Fu;
        } else if ((lead & 0xF8) == 0xF0) {
            extra = 3;
            cp = lead & 0x07u;
        } else {
            return false;
        }
        if (i_ + static_cast<std::size_t>(extra) >= s_.size()) return false;
        for (int k = 1; k <= extra; ++k) {
            const auto c = static_cast<unsigned char>(s_[i_ + static_cast<std::size_t>(k)]);
            if ((c & 0xC0) != 0x80) return false;
            cp = (cp << 6) | (c & 0x3Fu);
        }
        constexpr std::uint32_t kLeast[] = {0, 0x80, 0x800, 0x10000};
        if (cp < kLeast[extra] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return false;
        if (out) out->append(s_.substr(i_, static_cast<std::size_t>(extra) + 1));
        i_ += static_cast<std::size_t>(extra) + 1;
        return true;
    }

    static void appendUtf8(std::string& out, std::uint32_t cp)
    {
        if (cp < 0x80) {
            out.push_back(static_cast<char>(cp));
        } else if (cp < 0x800) {
            out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
            out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
        } else if (cp < 0x10000) {
            out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
            out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
        } else {
            out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
            out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
        }
    }

    void blanks()
    {
        while (i_ < s_.size() && (s_[i_] == ' ' || s_[i_] == '\t' || s_[i_] == '\n' || s_[i_] == '\r'))
            ++i_;
    }

    bool eat(char c)
    {
        if (i_ < s_.size() && s_[i_] == c) {
            ++i_;
            return true;
        }
        return false;
    }

    std::string_view s_;
    std::size_t i_ = 0;
};

} // namespace

bool isValidJson(std::string_view text)
{
    return Reader(text).document();
}

std::optional<std::string> decodeJsonString(std::string_view literal)
{
    Reader r(literal);
    std::string out;
    if (!r.string(&out) || !r.atEnd()) return std::nullopt;
    return out;
}

} // namespace tolvu::cli::test
