// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>

namespace lumiere {

// Hexadecimal digits ("0"-"9", "A"-"F") to binary digits, four per input digit, most significant
// first: "1A" gives "00011010". Nothing is added in front, so one digit gives four. A text of three
// or more characters gives the empty text.
std::string binaire(std::string_view hex);

}  // namespace lumiere
