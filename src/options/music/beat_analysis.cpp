// SPDX-License-Identifier: GPL-3.0-or-later
#include "music/beat_analysis.h"

namespace lumiere::music {

void BeatAnalysis::process(std::span<const float> block, AnalysisResult& result) {
    result.beats.clear();
    trackerBeats_.clear();
    tracker_.feed(block, trackerBeats_);
    onsets_.feed(block);
    for (double t : trackerBeats_) clock_.trackerBeat(t, onsets_);
    clock_.followKicks(onsets_);
    const double now = tracker_.streamTime();
    clock_.emitUntil(now, result.beats);
    const std::optional<BeatGrid> grid = clock_.grid(now);
    result.bpm = grid ? grid->bpm() : 0;
    result.level = tracker_.level();
}

}  // namespace lumiere::music
