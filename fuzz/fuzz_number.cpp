// SPDX-License-Identifier: GPL-3.0-or-later
// The number rule on arbitrary bytes: scanNumber, readNumber, parseWholeNumber, roundHalfEven and
// formatNumber must agree with one another whatever the text.

#include <cmath>
#include <cstring>
#include <limits>

#include "fuzz_check.h"
#include "text/number.h"

namespace lumiere::fuzz {
namespace {

bool isSkippable(char c) {
    return c == ' ' || c == '\t' || c == '\n';
}

// The first character that is not a blank, tab or line feed, or '\0'.
char firstSignificant(std::string_view text) {
    for (char c : text) {
        if (!isSkippable(c)) return c;
    }
    return '\0';
}

bool onlyBlanksFrom(std::string_view text, std::size_t from) {
    for (std::size_t i = from; i < text.size(); ++i) {
        if (!isSkippable(text[i])) return false;
    }
    return true;
}

// True when a blank stands between the first significant character and `end`.
bool blankInside(std::string_view text, std::size_t end) {
    std::size_t i = 0;
    while (i < end && isSkippable(text[i])) ++i;
    for (; i < end; ++i) {
        if (isSkippable(text[i])) return true;
    }
    return false;
}

void checkRounding(double value) {
    if (!std::isfinite(value)) return;
    const double rounded = roundHalfEven(value);
    FUZZ_CHECK(std::isfinite(rounded));
    FUZZ_CHECK(rounded == std::trunc(rounded));
    const double distance = std::fabs(rounded - value);
    FUZZ_CHECK(distance <= 0.5);
    if (distance == 0.5) FUZZ_CHECK(std::fmod(rounded, 2.0) == 0.0);  // a half goes to the even
}

// formatNumber writes text that reads back as the same number: exactly for whole numbers below
// 1e15, to seven significant digits otherwise.
void checkFormat(double value) {
    const std::string text = formatNumber(value);
    if (!std::isfinite(value)) return;
    const auto back = parseWholeNumber(text);
    FUZZ_CHECK(back.has_value());
    FUZZ_CHECK(readNumber(text) == *back);
    if (value == std::trunc(value) && std::fabs(value) < 1e15) {
        FUZZ_CHECK(*back == value);
        FUZZ_CHECK(text.find_first_not_of("-0123456789") == std::string::npos);
    } else {
        const double error = std::fabs(*back - value);
        FUZZ_CHECK(error <= 1e-6 * std::fabs(value) + std::numeric_limits<double>::denorm_min());
    }
}

}  // namespace
}  // namespace lumiere::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace lumiere;
    using namespace lumiere::fuzz;
    const std::string_view text = asText(data, size);

    const NumberScan scan = scanNumber(text);
    FUZZ_CHECK(scan.end <= text.size());
    FUZZ_CHECK(readNumber(text) == scan.value);
    if (!scan.found) {
        FUZZ_CHECK(scan.value == 0.0 && scan.end == 0);
    } else {
        FUZZ_CHECK(!std::isnan(scan.value));
        FUZZ_CHECK(scan.end > 0);
        // Only a leading minus sign makes a number negative.
        if (firstSignificant(text) == '-')
            FUZZ_CHECK(scan.value <= 0.0);
        else
            FUZZ_CHECK(scan.value >= 0.0);
        // What follows the number is ignored: the number on its own reads the same.
        const std::string_view number = text.substr(0, scan.end);
        const NumberScan alone = scanNumber(number);
        FUZZ_CHECK(alone.found && alone.end == scan.end && alone.value == scan.value);
        const auto whole = parseWholeNumber(number);
        FUZZ_CHECK(whole.has_value() == !blankInside(text, scan.end));
        if (whole) FUZZ_CHECK(*whole == scan.value);
    }

    // A whole number is exactly a found number without blanks inside, followed by nothing but
    // blanks.
    const auto whole = parseWholeNumber(text);
    FUZZ_CHECK(whole.has_value() ==
               (scan.found && !blankInside(text, scan.end) && onlyBlanksFrom(text, scan.end)));
    if (whole) FUZZ_CHECK(*whole == scan.value);

    checkRounding(scan.value);
    checkFormat(scan.value);
    // Every double, subnormals and infinities included, from the first eight bytes.
    if (size >= sizeof(double)) {
        double raw;
        std::memcpy(&raw, data, sizeof raw);
        checkRounding(raw);
        checkFormat(raw);
    }
    return 0;
}
