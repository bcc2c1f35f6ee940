// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The frame the lamp controller takes: the letter "n" (0x6E), then the lamp byte (bit k lights
// lamp k+1), written in one call. Everything that writes frames (the lamp link, "Essayer") makes
// them here, and everything that reads them (the virtual controller, the tests' far sides)
// decodes them with FrameDecoder.

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace lumiere {

// The byte that opens every frame: the letter "n".
inline constexpr std::uint8_t kFrameLetter = 0x6E;

struct LampFrame {
    std::uint8_t lamps = 0;

    // What goes on the line.
    constexpr std::array<std::uint8_t, 2> bytes() const { return {kFrameLetter, lamps}; }
};

// One decoded event: a complete frame carrying the lamp pattern, or a stray byte that arrived
// while a frame's letter was expected and was skipped.
struct LineEvent {
    enum class Kind { Frame, Stray };
    Kind kind;
    std::uint8_t value;

    friend bool operator==(const LineEvent&, const LineEvent&) = default;
};

// Turns the raw byte stream of the line into frames, as the controller reads it. A frame is the
// letter followed by the lamp byte; the lamp byte may itself be 0x6E. Any byte other than the
// letter while waiting for one is a stray byte: it is reported and dropped, which
// resynchronises the decoder on the next letter. A frame may be split across reads: the state
// survives between calls to feed().
class FrameDecoder {
public:
    // Decodes `bytes` and appends what they complete to `out` (which is not cleared).
    void feed(std::span<const std::uint8_t> bytes, std::vector<LineEvent>& out);

    // The lamp bytes of the frames `bytes` complete, and -1 for each stray byte.
    std::vector<int> values(std::span<const std::uint8_t> bytes);

    // True when a letter has been seen and its lamp byte has not arrived yet.
    bool awaitingValue() const { return awaitingValue_; }

    std::uint64_t frames() const { return frames_; }
    std::uint64_t strays() const { return strays_; }

private:
    bool awaitingValue_ = false;
    std::uint64_t frames_ = 0;
    std::uint64_t strays_ = 0;
};

}  // namespace lumiere
