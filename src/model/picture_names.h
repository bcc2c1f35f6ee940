// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The picture files that lie beside the program, read at every use by the handlers and painted
// by the artwork generator at build time. This list is the only place their names are written:
// the build reads the names from it too.

#include <array>
#include <string_view>

namespace lumiere::pictures {

inline constexpr std::string_view kButtonUp = "bouton1.dib";    // a released command button
inline constexpr std::string_view kButtonDown = "bouton2.dib";  // the pressed command button
inline constexpr std::string_view kKnobPlain = "bout_off.dib";  // a fader knob
inline constexpr std::string_view kKnobLit = "bout_on.dib";     // a knob the pointer moves
inline constexpr std::string_view kSwitchOff = "int2_off.dib";  // the desk switch, off
inline constexpr std::string_view kSwitchOn = "int2_on.dib";    // the desk switch, on
inline constexpr std::string_view kDesk = "pupitre.bmp";        // the desk param.ini names

}  // namespace lumiere::pictures
