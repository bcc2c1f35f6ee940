// SPDX-License-Identifier: GPL-3.0-or-later
#include "frame_decoder.h"

namespace lumiere::sim {

void FrameDecoder::feed(std::span<const std::uint8_t> bytes, std::vector<LineEvent>& out) {
    for (const std::uint8_t byte : bytes) {
        if (awaitingValue_) {
            awaitingValue_ = false;
            ++frames_;
            out.push_back({LineEvent::Kind::Frame, byte});
        } else if (byte == kFrameHeader) {
            awaitingValue_ = true;
        } else {
            ++strays_;
            out.push_back({LineEvent::Kind::Stray, byte});
        }
    }
}

}  // namespace lumiere::sim
