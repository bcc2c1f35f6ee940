// SPDX-License-Identifier: GPL-3.0-or-later
#include "text/number.h"

#include <cfenv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace lumiere {
namespace {

bool isSkippable(char c) {
    return c == ' ' || c == '\t' || c == '\n';
}
bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

int digitValue(char c, int base) {
    int d = -1;
    if (c >= '0' && c <= '9')
        d = c - '0';
    else if (c >= 'A' && c <= 'F')
        d = c - 'A' + 10;
    else if (c >= 'a' && c <= 'f')
        d = c - 'a' + 10;
    return d < base ? d : -1;
}

class Cursor {
public:
    explicit Cursor(std::string_view text) : text_(text) {}
    void skipBlanks() {
        while (pos_ < text_.size() && isSkippable(text_[pos_])) ++pos_;
    }
    // The next significant character (blanks skipped), or '\0' at the end.
    char peek() {
        skipBlanks();
        return pos_ < text_.size() ? text_[pos_] : '\0';
    }
    void take() { ++pos_; }
    std::size_t pos() const { return pos_; }
    void rewind(std::size_t pos) { pos_ = pos; }

private:
    std::string_view text_;
    std::size_t pos_ = 0;
};

NumberScan scanRadix(Cursor& in, int base) {
    NumberScan scan;
    double value = 0.0;
    for (;;) {
        const int d = digitValue(in.peek(), base);
        if (d < 0) break;
        in.take();
        value = value * base + d;
        scan.found = true;
        scan.end = in.pos();
    }
    scan.value = value;
    return scan;
}

NumberScan scanDecimal(Cursor& in) {
    NumberScan scan;
    std::string literal;
    const char sign = in.peek();
    if (sign == '+' || sign == '-') {
        literal.push_back(sign);
        in.take();
    }
    bool point = false;
    int digits = 0;
    for (;;) {
        const char c = in.peek();
        if (isDigit(c)) {
            ++digits;
        } else if (c == '.' && !point) {
            point = true;
        } else {
            break;
        }
        literal.push_back(c);
        in.take();
        if (digits > 0) scan.end = in.pos();
    }
    if (digits == 0) return scan;
    scan.found = true;

    // The exponent only counts when at least one digit follows the letter.
    const char letter = in.peek();
    if (letter == 'E' || letter == 'e' || letter == 'D' || letter == 'd') {
        const std::size_t before = in.pos();
        in.take();
        std::string exponent = "e";
        const char expSign = in.peek();
        if (expSign == '+' || expSign == '-') {
            exponent.push_back(expSign);
            in.take();
        }
        bool expDigits = false;
        while (isDigit(in.peek())) {
            exponent.push_back(in.peek());
            in.take();
            expDigits = true;
            scan.end = in.pos();
        }
        if (expDigits)
            literal += exponent;
        else
            in.rewind(before);
    }
    scan.value = std::strtod(literal.c_str(), nullptr);
    return scan;
}

}  // namespace

NumberScan scanNumber(std::string_view text) {
    Cursor in(text);
    if (in.peek() == '&') {
        const std::size_t ampersand = in.pos();
        in.take();
        const char kind = in.peek();
        if (kind == 'H' || kind == 'h' || kind == 'O' || kind == 'o') {
            in.take();
            return scanRadix(in, (kind == 'H' || kind == 'h') ? 16 : 8);
        }
        in.rewind(ampersand);
        return {};
    }
    return scanDecimal(in);
}

double readNumber(std::string_view text) {
    return scanNumber(text).value;
}

std::optional<double> parseWholeNumber(std::string_view text) {
    // Blanks may surround the number but not split it: "1 2" is two numbers, not twelve.
    std::size_t first = 0;
    std::size_t last = text.size();
    while (first < last && isSkippable(text[first])) ++first;
    while (last > first && isSkippable(text[last - 1])) --last;
    const std::string_view number = text.substr(first, last - first);
    for (char c : number) {
        if (isSkippable(c)) return std::nullopt;
    }
    const NumberScan scan = scanNumber(number);
    if (!scan.found || scan.end != number.size()) return std::nullopt;
    return scan.value;
}

double roundHalfEven(double value) {
    // nearbyint follows the current rounding mode, which is round-to-nearest-even unless changed.
    return std::nearbyint(value);
}

}  // namespace lumiere

namespace lumiere {

std::string formatNumber(double value) {
    if (std::isfinite(value) && value == std::trunc(value) && std::fabs(value) < 1e15) {
        return std::to_string(static_cast<long long>(value));
    }
    char text[32];
    std::snprintf(text, sizeof text, "%.7g", value);
    return text;
}

}  // namespace lumiere
