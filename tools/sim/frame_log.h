// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace lumiere::sim {

// The --log file: one line per frame, "<monotonic_ns> <value>", and one per stray byte,
// "<monotonic_ns> parasite <value>", values in decimal. Lines are buffered but never held
// longer than kFlushDelayNs, so a reader can follow the file while the simulator runs.
class FrameLog {
public:
    static constexpr std::int64_t kFlushDelayNs = 20'000'000;

    FrameLog() = default;
    FrameLog(const FrameLog&) = delete;
    FrameLog& operator=(const FrameLog&) = delete;
    ~FrameLog();

    // Creates or truncates the file. On failure returns false and sets `error` (French).
    bool open(const std::string& path, std::string& error);
    bool isOpen() const { return fd_ >= 0; }

    void frame(std::int64_t ns, std::uint8_t value);
    void stray(std::int64_t ns, std::uint8_t value);

    // When the buffered lines must be written at the latest; empty when nothing is buffered.
    std::optional<std::int64_t> flushDeadline() const;

    // Writes the buffered lines. Returns false (errno set) if the file refused them; they are
    // dropped all the same so a full disk does not grow the buffer forever.
    bool flush();

private:
    void append(std::int64_t ns, const char* kind, std::uint8_t value);

    int fd_ = -1;
    std::string buffer_;
    std::int64_t oldestBufferedNs_ = 0;
};

}  // namespace lumiere::sim
