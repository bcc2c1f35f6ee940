// SPDX-License-Identifier: GPL-3.0-or-later
// The Windows-1252 edges on arbitrary bytes: every Windows-1252 text survives the trip through
// UTF-8, only well-formed UTF-8 converts back, and file text is decoded by the documented rule.

#include <string>

#include "fuzz_check.h"
#include "text/cp1252.h"

namespace lumiere::fuzz {
namespace {

// Well-formed UTF-8 as Unicode defines it: no overlong forms, no surrogates, nothing above
// U+10FFFF, no truncated sequence.
bool wellFormedUtf8(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size()) {
        const auto byte = [&](std::size_t at) { return static_cast<unsigned char>(text[at]); };
        const unsigned char lead = byte(i);
        if (lead < 0x80) {
            ++i;
            continue;
        }
        std::size_t length = 0;
        unsigned char low = 0x80, high = 0xBF;  // allowed range of the second byte
        if (lead >= 0xC2 && lead <= 0xDF) {
            length = 2;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            length = 3;
            if (lead == 0xE0) low = 0xA0;
            if (lead == 0xED) high = 0x9F;
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            length = 4;
            if (lead == 0xF0) low = 0x90;
            if (lead == 0xF4) high = 0x8F;
        } else {
            return false;
        }
        if (i + length > text.size()) return false;
        if (byte(i + 1) < low || byte(i + 1) > high) return false;
        for (std::size_t k = 2; k < length; ++k) {
            if (byte(i + k) < 0x80 || byte(i + k) > 0xBF) return false;
        }
        i += length;
    }
    return true;
}

bool ascii(std::string_view text) {
    for (char c : text) {
        if (static_cast<unsigned char>(c) >= 0x80) return false;
    }
    return true;
}

std::size_t codePoints(std::string_view utf8) {
    std::size_t count = 0;
    for (char c : utf8) count += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    return count;
}

std::size_t questionMarks(std::string_view text) {
    std::size_t count = 0;
    for (char c : text) count += c == '?';
    return count;
}

}  // namespace
}  // namespace lumiere::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace lumiere;
    using namespace lumiere::fuzz;
    const std::string_view bytes = asText(data, size);

    // The bytes as Windows-1252: UTF-8 and back gives every byte again.
    const std::string utf8 = toUtf8(bytes);
    FUZZ_CHECK(wellFormedUtf8(utf8));
    FUZZ_CHECK(codePoints(utf8) == bytes.size());
    FUZZ_CHECK(ascii(bytes) ? utf8 == bytes : utf8.size() > bytes.size());
    const auto back = utf8ToCp1252(utf8);
    FUZZ_CHECK(back.has_value() && *back == bytes);
    FUZZ_CHECK(fromUtf8(utf8) == bytes);
    FUZZ_CHECK(decodeFileText(utf8) == bytes);  // what a Linux editor wrote reads as typed

    // The bytes as UTF-8: converted only when well formed, one character per code point, and
    // back to the same bytes unless a character had no Windows-1252 byte.
    const auto converted = utf8ToCp1252(bytes);
    FUZZ_CHECK(converted.has_value() == wellFormedUtf8(bytes));
    if (converted) {
        FUZZ_CHECK(converted->size() == codePoints(bytes));
        if (questionMarks(*converted) == questionMarks(bytes))
            FUZZ_CHECK(toUtf8(*converted) == bytes);
        FUZZ_CHECK(fromUtf8(bytes) == *converted);
    } else {
        FUZZ_CHECK(fromUtf8(bytes) == bytes);
    }

    // File text: a byte-order mark goes; ASCII and malformed UTF-8 stay Windows-1252 bytes.
    constexpr std::string_view kBom = "\xEF\xBB\xBF";
    const std::string_view body = bytes.substr(0, kBom.size()) == kBom ? bytes.substr(3) : bytes;
    const std::string decoded = decodeFileText(bytes);
    if (ascii(body) || !wellFormedUtf8(body))
        FUZZ_CHECK(decoded == body);
    else
        FUZZ_CHECK(decoded == *utf8ToCp1252(body));
    return 0;
}
