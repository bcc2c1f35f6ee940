// SPDX-License-Identifier: GPL-3.0-or-later
#include "playback/binaire.h"

#include <array>

namespace lumiere {

std::string binaire(std::string_view hex) {
    static constexpr std::string_view kDigits = "0123456789ABCDEF";
    static constexpr std::array<std::string_view, 16> kGroups = {
        "0000", "0001", "0010", "0011", "0100", "0101", "0110", "0111",
        "1000", "1001", "1010", "1011", "1100", "1101", "1110", "1111"};
    if (hex.size() > 2) return {};
    std::string result;
    std::string_view group;  // a character that is no digit repeats the previous group
    for (char c : hex) {
        const auto digit = kDigits.find(c);
        if (digit != std::string_view::npos) group = kGroups[digit];
        result += group;
    }
    return result;
}

}  // namespace lumiere
