// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

namespace lumiere::sim {

// What the live line shows.
struct LampState {
    std::optional<std::uint8_t> value;  // last pattern received; empty before the first frame
    std::uint64_t frames = 0;
    std::uint64_t strays = 0;
    std::size_t framesLastSecond = 0;
};

// The eight lamps, 1 to 8 from left to right (lamp k is bit k - 1 of the pattern): lit ones as
// a bright red "●", dark ones as a grey "○", separated by spaces, with ANSI colours.
std::string formatLamps(std::uint8_t value);

// The whole live line: the lamps, the frame count, the last value in hex, the rate over the last
// second and, once there are some, the stray bytes. No line end: the caller redraws it in place.
std::string formatLampLine(const LampState& state);

}  // namespace lumiere::sim
