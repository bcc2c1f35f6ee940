// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Application-wide values, alive from start-up to the end of the application.

#include <array>
#include <cstdint>
#include <string>

namespace lumiere {

inline constexpr int kTableSize = 256;    // etape and sequence: elements 0 to 255
inline constexpr int kPositionSize = 11;  // position: elements 0 to 10

struct AppValues {
    std::int16_t marche = 0;               // desk switch: 0 off, 1 on
    int choix = 0;                         // index of the last command button clicked
    int arret = 0;                         // stop request of the sequence runner: 0 run, 1 stop
    int actif = 0;                         // strip whose knob follows the pointer on its own
    std::array<std::string, 31> compteur;  // per-channel blink countdowns, decimal text
    std::array<std::string, kTableSize> etape;        // lines of the current animation file
    std::array<std::string, kTableSize> sequence;     // steps of the loaded sequence file
    std::array<std::string, kPositionSize> position;  // lines of the last cycle file read
};

}  // namespace lumiere
