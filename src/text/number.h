// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The number rule: how every number is read from text in Lumière (pattern steps, cycle files,
// blink countdowns, level captions, the port number of param.ini).
//
// Blanks, tabs and line feeds are skipped wherever they stand before or inside the number. The
// number is an optional sign, decimal digits with at most one decimal point and an optional
// exponent (E or D, optional sign, digits), or "&H" followed by hexadecimal digits, or "&O"
// followed by octal digits. Reading stops at the first character that cannot continue the number;
// what follows is ignored. A text without a leading number reads as 0.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace lumiere {

struct NumberScan {
    double value = 0.0;
    std::size_t end = 0;  // index just past the last character that belongs to the number
    bool found = false;   // false when the text does not start with a number
};

NumberScan scanNumber(std::string_view text);

// The leading number of a text, 0 when there is none.
double readNumber(std::string_view text);

// A text that is a number as a whole, or nothing. Blanks may stand around the number but not
// inside it ("1 2" and "1\t2" are refused), and nothing may follow it ("12abc" is refused).
std::optional<double> parseWholeNumber(std::string_view text);

// Rounds to the nearest whole number, a half going to the even neighbour (12.5 → 12, 13.5 → 14).
double roundHalfEven(double value);

}  // namespace lumiere

namespace lumiere {

// A number as decimal text: whole numbers without a decimal part ("12", "-2"), others with the
// digits they need ("12.5").
std::string formatNumber(double value);

}  // namespace lumiere
