// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "frame_log.h"
#include "link/frame.h"
#include "pty_line.h"
#include "stats.h"

namespace lumiere::sim {

// CLOCK_MONOTONIC in nanoseconds: the time base of the log and of every statistic.
std::int64_t monotonicNs();

// The receiving loop: waits on the line with poll(), decodes frames, feeds the log, the
// statistics and the live line, and returns when asked to stop or when the run time is over.
// Between frames it sleeps in poll() and wakes only for what is due (a redraw, a log flush,
// the end of the run), so it costs next to no CPU while Lumière's timing is measured.
class Simulator {
public:
    struct Settings {
        bool liveDisplay = false;
        std::optional<std::int64_t> stopAtNs;  // CLOCK_MONOTONIC
        int stopFd = -1;                       // readable once a stop signal has arrived
    };

    Simulator(PtyLine& line, FrameLog& log, Settings settings);

    // Returns false if the line failed; the message has been printed.
    bool run();

    // Ends the live line so that what follows starts on a fresh line.
    void closeDisplay();

    // Prints a message on stderr without leaving a torn live line behind.
    void note(const std::string& message);

    const FrameTiming& timing() const { return timing_; }
    std::uint64_t strays() const { return decoder_.strays(); }

private:
    bool drainLine();
    void handleEvents(std::int64_t now);
    void housekeeping(std::int64_t now);
    void redraw(std::int64_t now, bool force);
    int pollTimeoutMs(std::int64_t now) const;

    PtyLine& line_;
    FrameLog& log_;
    Settings settings_;

    FrameDecoder decoder_;
    FrameTiming timing_;
    RateWindow rate_;
    std::vector<LineEvent> events_;
    std::optional<std::uint8_t> lastValue_;

    std::int64_t lastByteNs_ = 0;
    std::int64_t nextExclusiveCheckNs_ = 0;
    std::int64_t lastDrawNs_ = 0;
    bool displayDirty_ = true;
    bool displayShown_ = false;
    std::string shownLine_;
};

}  // namespace lumiere::sim
