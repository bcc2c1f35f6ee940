// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Finds the beats of a sound stream with aubio's tempo tracker ("default" method, 1024-sample
// window, 256-sample hop, 44 100 Hz mono float). Blocks of any size may be fed; each beat is
// reported with its place in the stream (seconds since the first sample fed), not with the time
// of the call that found it.
//
// Sensitivity (1 to 10, 5 by default) sets aubio's two thresholds, see sensitivityThresholds():
//   - the silence threshold: a beat falling in a hop quieter than this is dropped, so a higher
//     sensitivity follows quieter music;
//   - the peak-picking threshold of the onset function: a lower threshold keeps weaker onsets,
//     so a higher sensitivity follows music with softer attacks.

#include <cstdint>
#include <memory>
#include <span>
#include <vector>

namespace lumiere::music {

inline constexpr int kSampleRate = 44100;
inline constexpr int kHopSize = 256;
inline constexpr int kWindowSize = 1024;
inline constexpr int kMinSensitivity = 1;
inline constexpr int kMaxSensitivity = 10;
inline constexpr int kDefaultSensitivity = 5;

// Level of a block of samples, 0 to 1: root mean square and peak of the absolute values.
struct Level {
    float rms = 0;
    float peak = 0;
};

Level measureLevel(std::span<const float> samples);

struct Thresholds {
    float silenceDb;  // aubio_tempo_set_silence
    float peakPick;   // aubio_tempo_set_threshold
};

// The thresholds of a sensitivity, clamped to 1..10. 5 gives aubio's own defaults for its tempo
// tracker (-90 dB, 0.3); each step down raises the silence floor by 6 dB and the peak-picking
// threshold by a quarter, each step up does the reverse:
//   sensitivity  1     2     3     4     5     6     7     8     9     10
//   silence dB  -66   -72   -78   -84   -90   -96  -102  -108  -114  -120
//   peak pick   0.73  0.59  0.47  0.38  0.30  0.24  0.19  0.15  0.12  0.10
Thresholds sensitivityThresholds(int sensitivity);

class BeatTracker {
public:
    explicit BeatTracker(int sensitivity = kDefaultSensitivity);
    ~BeatTracker();
    BeatTracker(const BeatTracker&) = delete;
    BeatTracker& operator=(const BeatTracker&) = delete;

    // Analyses the samples and appends to `beats` the stream time, in seconds, of every beat
    // found in them.
    void feed(std::span<const float> samples, std::vector<double>& beats);

    void setSensitivity(int sensitivity);
    int sensitivity() const { return sensitivity_; }

    // Level of the last block fed.
    Level level() const { return level_; }
    // The stream time of the end of the last block fed, in seconds.
    double streamTime() const { return static_cast<double>(samplesFed_) / kSampleRate; }
    // aubio's own tempo estimate (it reads 1 to 2 BPM high: show the fitted tempo instead).
    double aubioBpm() const;

private:
    struct Aubio;
    void analyseHop(std::vector<double>& beats);

    std::unique_ptr<Aubio> aubio_;
    int sensitivity_;
    std::size_t filled_ = 0;
    std::uint64_t samplesFed_ = 0;
    Level level_;
};

}  // namespace lumiere::music
