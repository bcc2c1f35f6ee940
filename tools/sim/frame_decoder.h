// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace lumiere::sim {

// The byte that opens every frame sent by Lumière: the letter "n".
inline constexpr std::uint8_t kFrameHeader = 0x6E;

// One decoded event: a complete frame carrying the lamp pattern, or a stray byte that arrived
// while a header was expected and was skipped.
struct LineEvent {
    enum class Kind { Frame, Stray };
    Kind kind;
    std::uint8_t value;

    friend bool operator==(const LineEvent&, const LineEvent&) = default;
};

// Turns the raw byte stream of the line into frames. A frame is the header byte followed by the
// value byte; the value may itself be 0x6E. Any byte other than the header while waiting for one
// is a stray byte: it is reported and dropped, which resynchronises the decoder on the next
// header. A frame may be split across reads: the state survives between calls to feed().
class FrameDecoder {
public:
    // Decodes `bytes` and appends what they complete to `out` (which is not cleared).
    void feed(std::span<const std::uint8_t> bytes, std::vector<LineEvent>& out);

    // True when a header has been seen and its value byte has not arrived yet.
    bool awaitingValue() const { return awaitingValue_; }

    std::uint64_t frames() const { return frames_; }
    std::uint64_t strays() const { return strays_; }

private:
    bool awaitingValue_ = false;
    std::uint64_t frames_ = 0;
    std::uint64_t strays_ = 0;
};

}  // namespace lumiere::sim
