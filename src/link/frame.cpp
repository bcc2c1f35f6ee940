// SPDX-License-Identifier: GPL-3.0-or-later
#include "link/frame.h"

namespace lumiere {

void FrameDecoder::feed(std::span<const std::uint8_t> bytes, std::vector<LineEvent>& out) {
    for (const std::uint8_t byte : bytes) {
        if (awaitingValue_) {
            awaitingValue_ = false;
            ++frames_;
            out.push_back({LineEvent::Kind::Frame, byte});
        } else if (byte == kFrameLetter) {
            awaitingValue_ = true;
        } else {
            ++strays_;
            out.push_back({LineEvent::Kind::Stray, byte});
        }
    }
}

std::vector<int> FrameDecoder::values(std::span<const std::uint8_t> bytes) {
    std::vector<LineEvent> events;
    feed(bytes, events);
    std::vector<int> out;
    out.reserve(events.size());
    for (const LineEvent& event : events) {
        out.push_back(event.kind == LineEvent::Kind::Frame ? event.value : -1);
    }
    return out;
}

}  // namespace lumiere
