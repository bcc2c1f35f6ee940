// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// One frame for the DMX universe: the lamp byte the lamp controller receives, with where and how
// bright it goes. Lamp k (bit k−1 of the byte) sets channel firstChannel+k−1 to `level` when lit,
// to 0 when dark; every other channel of the universe is 0.

#include <array>
#include <cstdint>

#include "dmx/dmx_settings.h"

namespace lumiere {

using DmxChannels = std::array<std::uint8_t, kDmxChannels>;  // channel n at index n−1

struct DmxFrame {
    int universe = 1;
    int firstChannel = 1;
    std::uint8_t level = kMaxLevel;
    std::uint8_t lamps = 0;

    bool operator==(const DmxFrame&) const = default;
};

// The frame of a lamp byte under the given settings (which must be in range).
DmxFrame dmxFrame(const DmxSettings& settings, std::uint8_t lamps);

// The 512 channel values the frame puts in its universe.
DmxChannels channelValues(const DmxFrame& frame);

}  // namespace lumiere
