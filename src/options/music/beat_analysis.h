// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Everything done to a block of captured sound, in one place so that live capture and the
// benchmark run the same code: the onsets of every band (OnsetFlux), the tempo they repeat at
// (TempoSalience), the filter that follows the beat's period and phase (BeatFilter), weighed
// again, a moment later, by the harmony's change (HarmonicChange: chords change on the beat),
// and the beats given at their time, foretold from the filter. Each block gives the beats whose
// time has come (stream seconds), whether a beat is found and its tempo (the one the beats are
// given at), and the level for a meter. Not thread-safe: one thread feeds it.
//
// A beat is found once the onsets have repeated at one period clearly enough for about a
// second (noise and silence never do), and lost after two seconds without it or of silence.

#include <optional>
#include <span>
#include <vector>

#include "music/beat_filter.h"
#include "music/beat_tracker.h"
#include "music/harmonic_change.h"
#include "music/onset_flux.h"
#include "music/tempo_salience.h"

namespace lumiere::music {

struct AnalysisResult {
    std::vector<double> beats;  // stream time of each beat, in order
    bool found = false;         // a beat is found: the beats follow it
    double bpm = 0;             // the tempo the beats are given at; 0 while no beat is found
    Level level;                // of the block
};

struct AnalysisSettings {
    // 1 to 10: sets the silence floor (sensitivityThresholds) and how clearly the onsets must
    // repeat to find a beat: from 1.46 times findRepetition at 1 to 0.62 times at 10.
    int sensitivity = kDefaultSensitivity;
    // The tempo most music is played at, and how far from it (octaves) a tempo stays likely.
    double usualBpm = 120;
    double bpmSpread = 1.0;
    // The salience of a period (TempoSalience) counts with this power in its weight.
    double salienceWeight = 1.0;
    // An onset this many times the recent mean onset is a clear one.
    double clearOnset = 3.0;
    // The repetition at the period followed (a share of the onsets' variance) that finds a beat
    // at sensitivity 5, and the share of it that keeps it. White, pink and crowd-like noise stay
    // below 0.15 for a moment and below 0.1 on average; music is at 0.2 to 0.7.
    double findRepetition = 0.12;
    double keepShare = 2.0 / 3;
    // A harmonic change (HarmonicChange) h on a beat makes it ((h + floor·m) / ((1 + floor)·m))
    // ^ harmonyGain times likelier, m being the recent mean change (0: the harmony is not heard),
    // and at most harmonyLimit times likelier or less likely: the harmony is the weaker cue, so
    // the drums decide where they are clear (a dance track's kick against its off-beat bass
    // line) and the harmony where the onsets are as loud between the beats as on them.
    double harmonyGain = 0.5;
    double harmonyFloor = 0.25;
    double harmonyLimit = 1.15;
    int harmonySpread = 1;  // frames either way of the change
    BeatFilter::Settings filter;
};

inline AnalysisSettings withSensitivity(int sensitivity) {
    AnalysisSettings settings;
    settings.sensitivity = sensitivity;
    return settings;
}

class BeatAnalysis {
public:
    explicit BeatAnalysis(int sensitivity = kDefaultSensitivity)
        : BeatAnalysis(withSensitivity(sensitivity)) {}
    explicit BeatAnalysis(AnalysisSettings settings);

    // Analyses the next block of the stream; `result` is overwritten.
    void process(std::span<const float> block, AnalysisResult& result);

    void setSensitivity(int sensitivity);
    int sensitivity() const { return settings_.sensitivity; }
    double streamTime() const { return double(samples_) / kSampleRate; }

private:
    void frame(float strength, float change);
    bool judgeFound();
    void giveBeats(double until, std::vector<double>& beats);
    double shownBpm() const;

    AnalysisSettings settings_;
    OnsetFlux flux_;
    HarmonicChange harmony_;
    TempoSalience salience_;
    BeatFilter filter_;
    std::vector<double> weights_;
    std::vector<float> strengths_;
    std::vector<float> changes_;
    double changeMean_ = 0;
    std::uint64_t samples_ = 0;
    double onsetMean_ = 0;
    double silenceDb_ = -90;
    double findRepetition_ = 0;
    // The beat foretold by the last frame, and its period (seconds).
    double nextBeat_ = 0;
    double period_ = 0;
    double repetition_ = 0;
    bool found_ = false;
    double foundSince_ = -1;  // since when the repetition has been enough to find a beat
    double lostSince_ = -1;   // since when it has not been enough to keep it
    double quietSince_ = -1;  // since when the input has been silent
    double lastGiven_ = -1e9;
    double shownPeriod_ = 0;     // seconds
    std::vector<double> given_;  // the last beats given
};

}  // namespace lumiere::music
