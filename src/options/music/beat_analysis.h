// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Everything done to a block of captured sound, in one place so that live capture and the
// benchmark run the same code: aubio's tracker, the low-band onsets and the beat clock locked to
// them. Each block gives the beats whose time has come (stream seconds), the tempo shown, and
// the level for a meter. Not thread-safe: one thread feeds it.

#include <optional>
#include <span>
#include <vector>

#include "music/beat_clock.h"
#include "music/beat_tracker.h"
#include "music/kick_onsets.h"

namespace lumiere::music {

struct AnalysisResult {
    std::vector<double> beats;  // stream time of each beat, in order
    double bpm = 0;             // the tempo shown; 0 while no beat is followed
    Level level;                // of the block
};

class BeatAnalysis {
public:
    explicit BeatAnalysis(int sensitivity = kDefaultSensitivity) : tracker_(sensitivity) {}

    // Analyses the next block of the stream; `result` is overwritten.
    void process(std::span<const float> block, AnalysisResult& result);

    void setSensitivity(int sensitivity) { tracker_.setSensitivity(sensitivity); }
    int sensitivity() const { return tracker_.sensitivity(); }
    double streamTime() const { return tracker_.streamTime(); }

private:
    BeatTracker tracker_;
    KickOnsets onsets_;
    BeatClock clock_;
    std::vector<double> trackerBeats_;
};

}  // namespace lumiere::music
