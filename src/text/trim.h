// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Trimming, the one way every text of Lumière loses its surrounding blanks. Which characters
// count as blanks is the caller's: sequence steps and the port number lose their spaces only,
// param.ini lines their spaces and tabs.

#include <string_view>

namespace lumiere {

inline constexpr std::string_view kSpaces = " ";
inline constexpr std::string_view kSpacesAndTabs = " \t";
inline constexpr std::string_view kWhiteSpace = " \t\r\n\f\v";

// The text without the leading and trailing characters found in `blanks`.
constexpr std::string_view trim(std::string_view text, std::string_view blanks) {
    const auto first = text.find_first_not_of(blanks);
    if (first == std::string_view::npos) return {};
    return text.substr(first, text.find_last_not_of(blanks) - first + 1);
}

}  // namespace lumiere
