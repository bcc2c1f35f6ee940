// SPDX-License-Identifier: GPL-3.0-or-later
#include "lamp_display.h"

#include <cstdio>

namespace lumiere::sim {

namespace {

constexpr const char* kLit = "\033[1;91m\u25CF\033[0m";  // bright red ●
constexpr const char* kDark = "\033[90m\u25CB\033[0m";   // grey ○
constexpr int kLampCount = 8;

}  // namespace

std::string formatLamps(std::uint8_t value) {
    std::string text;
    for (int lamp = 0; lamp < kLampCount; ++lamp) {
        if (lamp > 0) text += ' ';
        text += (value >> lamp) & 1U ? kLit : kDark;
    }
    return text;
}

std::string formatLampLine(const LampState& state) {
    char hex[8] = "--";
    if (state.value) std::snprintf(hex, sizeof hex, "0x%02X", *state.value);

    std::string text = formatLamps(state.value.value_or(0));
    text += "   trames " + std::to_string(state.frames);
    text += "   valeur " + std::string(hex);
    text += "   " + std::to_string(state.framesLastSecond) + " trames/s";
    if (state.strays > 0) text += "   parasites " + std::to_string(state.strays);
    return text;
}

}  // namespace lumiere::sim
