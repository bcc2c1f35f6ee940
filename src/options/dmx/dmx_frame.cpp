// SPDX-License-Identifier: GPL-3.0-or-later
#include "dmx/dmx_frame.h"

namespace lumiere {

DmxFrame dmxFrame(const DmxSettings& settings, std::uint8_t lamps) {
    return {settings.universe, settings.firstChannel, static_cast<std::uint8_t>(settings.level),
            lamps};
}

DmxChannels channelValues(const DmxFrame& frame) {
    DmxChannels channels{};
    for (int k = 0; k < kDmxLamps; ++k) {
        const std::size_t index = static_cast<std::size_t>(frame.firstChannel - 1 + k);
        if (index < channels.size() && (frame.lamps >> k) & 1) channels[index] = frame.level;
    }
    return channels;
}

}  // namespace lumiere
