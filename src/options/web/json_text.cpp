// SPDX-License-Identifier: GPL-3.0-or-later
#include "web/json_text.h"

namespace lumiere::json {
namespace {

// The length of the UTF-8 sequence starting at `i`, or 0 when it is not a valid one (overlong
// forms, surrogates and values above U+10FFFF are invalid).
std::size_t sequenceLength(std::string_view s, std::size_t i) {
    const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(s[k]); };
    const unsigned char b0 = byte(i);
    if (b0 < 0x80) return 1;
    std::size_t length = 0;
    unsigned char low = 0x80, high = 0xBF;
    if (b0 >= 0xC2 && b0 <= 0xDF) {
        length = 2;
    } else if (b0 >= 0xE0 && b0 <= 0xEF) {
        length = 3;
        if (b0 == 0xE0) low = 0xA0;
        if (b0 == 0xED) high = 0x9F;
    } else if (b0 >= 0xF0 && b0 <= 0xF4) {
        length = 4;
        if (b0 == 0xF0) low = 0x90;
        if (b0 == 0xF4) high = 0x8F;
    } else {
        return 0;
    }
    if (i + length > s.size()) return 0;
    if (byte(i + 1) < low || byte(i + 1) > high) return 0;
    for (std::size_t k = 2; k < length; ++k) {
        if (byte(i + k) < 0x80 || byte(i + k) > 0xBF) return 0;
    }
    return length;
}

void appendUtf8(std::string& out, std::uint32_t cp) {
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

class Reader {
public:
    explicit Reader(std::string_view text) : s_(text) {}

    std::optional<std::vector<Field>> object() {
        std::vector<Field> fields;
        skipBlanks();
        if (!take('{')) return std::nullopt;
        skipBlanks();
        if (take('}')) return end(std::move(fields));
        while (true) {
            if (fields.size() == kMaxFields) return std::nullopt;
            Field field;
            skipBlanks();
            if (!string(field.key)) return std::nullopt;
            for (const Field& other : fields) {
                if (other.key == field.key) return std::nullopt;
            }
            skipBlanks();
            if (!take(':')) return std::nullopt;
            skipBlanks();
            if (peek() == '"') {
                field.isString = true;
                if (!string(field.text)) return std::nullopt;
            } else if (!integer(field.number)) {
                return std::nullopt;
            }
            fields.push_back(std::move(field));
            skipBlanks();
            if (take('}')) return end(std::move(fields));
            if (!take(',')) return std::nullopt;
        }
    }

private:
    std::optional<std::vector<Field>> end(std::vector<Field> fields) {
        skipBlanks();
        if (i_ != s_.size()) return std::nullopt;
        return fields;
    }

    char peek() const { return i_ < s_.size() ? s_[i_] : '\0'; }
    bool take(char c) {
        if (i_ < s_.size() && s_[i_] == c) {
            ++i_;
            return true;
        }
        return false;
    }
    void skipBlanks() {
        while (i_ < s_.size() &&
               (s_[i_] == ' ' || s_[i_] == '\t' || s_[i_] == '\n' || s_[i_] == '\r'))
            ++i_;
    }

    bool integer(std::int64_t& value) {
        const bool negative = take('-');
        const std::size_t first = i_;
        std::int64_t v = 0;
        while (i_ < s_.size() && s_[i_] >= '0' && s_[i_] <= '9') {
            if (static_cast<int>(i_ - first) == kMaxNumberDigits) return false;
            v = v * 10 + (s_[i_] - '0');
            ++i_;
        }
        const std::size_t digits = i_ - first;
        if (digits == 0) return false;
        if (digits > 1 && s_[first] == '0') return false;  // JSON has no leading zeros
        value = negative ? -v : v;
        return true;
    }

    bool hex4(std::uint32_t& value) {
        if (i_ + 4 > s_.size()) return false;
        value = 0;
        for (int k = 0; k < 4; ++k) {
            const char c = s_[i_++];
            value <<= 4;
            if (c >= '0' && c <= '9')
                value |= static_cast<std::uint32_t>(c - '0');
            else if (c >= 'a' && c <= 'f')
                value |= static_cast<std::uint32_t>(c - 'a' + 10);
            else if (c >= 'A' && c <= 'F')
                value |= static_cast<std::uint32_t>(c - 'A' + 10);
            else
                return false;
        }
        return true;
    }

    bool escape(std::string& out) {
        if (i_ >= s_.size()) return false;
        const char c = s_[i_++];
        switch (c) {
            case '"':
                out += '"';
                return true;
            case '\\':
                out += '\\';
                return true;
            case '/':
                out += '/';
                return true;
            case 'b':
                out += '\b';
                return true;
            case 'f':
                out += '\f';
                return true;
            case 'n':
                out += '\n';
                return true;
            case 'r':
                out += '\r';
                return true;
            case 't':
                out += '\t';
                return true;
            case 'u':
                break;
            default:
                return false;
        }
        std::uint32_t cp = 0;
        if (!hex4(cp)) return false;
        if (cp >= 0xDC00 && cp <= 0xDFFF) return false;  // a low surrogate alone
        if (cp >= 0xD800 && cp <= 0xDBFF) {
            std::uint32_t low = 0;
            if (!take('\\') || !take('u') || !hex4(low)) return false;
            if (low < 0xDC00 || low > 0xDFFF) return false;
            cp = 0x10000 + ((cp - 0xD800) << 10) + (low - 0xDC00);
        }
        if (cp == 0) return false;
        appendUtf8(out, cp);
        return true;
    }

    bool string(std::string& out) {
        if (!take('"')) return false;
        while (i_ < s_.size()) {
            const unsigned char c = static_cast<unsigned char>(s_[i_]);
            if (c == '"') {
                ++i_;
                return true;
            }
            if (c < 0x20) return false;
            if (c == '\\') {
                ++i_;
                if (!escape(out)) return false;
                continue;
            }
            const std::size_t length = sequenceLength(s_, i_);
            if (length == 0) return false;
            out.append(s_.substr(i_, length));
            i_ += length;
        }
        return false;
    }

    std::string_view s_;
    std::size_t i_ = 0;
};

}  // namespace

std::optional<std::vector<Field>> readFlatObject(std::string_view text) {
    return Reader(text).object();
}

bool isValidUtf8(std::string_view text) {
    for (std::size_t i = 0; i < text.size();) {
        const std::size_t length = sequenceLength(text, i);
        if (length == 0) return false;
        i += length;
    }
    return true;
}

void appendString(std::string& out, std::string_view text) {
    static constexpr char kHex[] = "0123456789abcdef";
    out += '"';
    for (std::size_t i = 0; i < text.size();) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        const std::size_t length = sequenceLength(text, i);
        if (length == 0) {
            out += "\xEF\xBF\xBD";  // U+FFFD for a byte that starts no valid sequence
            ++i;
            continue;
        }
        if (c == '"' || c == '\\') {
            out += '\\';
            out += static_cast<char>(c);
        } else if (c < 0x20 || c == 0x7F) {
            out += "\\u00";
            out += kHex[c >> 4];
            out += kHex[c & 0xF];
        } else {
            out.append(text.substr(i, length));
        }
        i += length;
    }
    out += '"';
}

}  // namespace lumiere::json
