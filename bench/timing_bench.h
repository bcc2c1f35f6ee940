// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Lumière's own window and timers (offscreen) driving a pseudo-terminal: frame rate, intervals
// and the exact byte sequence as the far side sees them, and the CPU the window thread uses.

#include <string>

#include "figures.h"

namespace lumiere::bench {

struct PhaseFigures {
    int frames = 0;
    double framesPerSecond = 0;
    Spread intervalMs;
    bool sequenceExact = false;
    std::string mismatch;  // where the sequence first differs, when it does
    double cpuPercent = 0;
};

struct TimingFigures {
    PhaseFigures blinker;
    PhaseFigures chaser;
    // Intervals between the writes themselves, in the window thread, before the line.
    Spread blinkerWriteMs;
    Spread chaserWriteMs;
    double idleCpuPercent = 0;
};

TimingFigures measureTiming(double secondsPerPhase);

}  // namespace lumiere::bench
