// SPDX-License-Identifier: GPL-3.0-or-later
// binaire on short texts: hexadecimal digits become their four binary digits each, most
// significant first; a character that is no digit repeats the group before it; three characters
// or more give nothing.

#include <string>

#include "fuzz_check.h"
#include "playback/binaire.h"

namespace lumiere::fuzz {
namespace {

// The value of an upper-case hexadecimal digit, or -1.
int hexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// `bits` binary digits of `value`, most significant first.
std::string binary(unsigned value, int bits) {
    std::string out;
    for (int b = bits - 1; b >= 0; --b) out += ((value >> b) & 1U) ? '1' : '0';
    return out;
}

}  // namespace
}  // namespace lumiere::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace lumiere;
    using namespace lumiere::fuzz;
    const std::string_view hex = asText(data, size);
    const std::string bits = binaire(hex);

    if (hex.size() >= 3) {
        FUZZ_CHECK(bits.empty());
        return 0;
    }
    FUZZ_CHECK(bits.find_first_not_of("01") == std::string::npos);
    FUZZ_CHECK(bits.size() % 4 == 0 && bits.size() <= 4 * hex.size());

    unsigned value = 0;
    bool allDigits = true;
    for (char c : hex) {
        allDigits = allDigits && hexDigit(c) >= 0;
        value = value * 16 + static_cast<unsigned>(hexDigit(c) & 0xF);
    }
    if (allDigits) {
        // "1A" gives "00011010": the 8-bit binary of a two-digit value, 4 bits for one digit.
        FUZZ_CHECK(bits == binary(value, 4 * static_cast<int>(hex.size())));
        return 0;
    }
    // One digit at most: a leading non-digit adds nothing, a trailing one repeats the first group.
    const int first = hexDigit(hex[0]);
    if (hex.size() == 1) {
        FUZZ_CHECK(bits.empty());
    } else if (first >= 0) {
        FUZZ_CHECK(bits == binary(first, 4) + binary(first, 4));
    } else {
        const int second = hexDigit(hex[1]);
        FUZZ_CHECK(bits == (second >= 0 ? binary(second, 4) : std::string()));
    }
    return 0;
}
