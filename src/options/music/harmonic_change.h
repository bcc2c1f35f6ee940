// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// How much the harmony changes at each frame of OnsetFlux: the pitch classes sounding in the
// moment just after it against those of the moment just before (a distance between two chroma
// vectors, each the mean over kChangeSpan frames). Chords and bass notes change on the beat,
// and seldom between beats, where hi-hats, strums and off-beat stabs give as many onsets as the
// beat itself: so this tells a beat from an off-beat, and a beat from the eighth note between two,
// where the onsets cannot.
//
// The change at a frame is known only once the moment after it has sounded: the value given
// for frame n is the change at frame n - delayFrames(). Chroma from 80 Hz to 3 kHz, on a window
// of 4096 samples (93 ms, bins of 10.8 Hz, fine enough to tell the semitones of a bass line
// apart from about 130 Hz). Not thread-safe.

#include <array>
#include <cstdint>
#include <span>
#include <vector>

#include "music/frequency_power.h"

namespace lumiere::music {

class HarmonicChange {
public:
    HarmonicChange();
    ~HarmonicChange();
    HarmonicChange(const HarmonicChange&) = delete;
    HarmonicChange& operator=(const HarmonicChange&) = delete;

    // Analyses the samples (44 100 Hz mono, the same stream as OnsetFlux) and appends, for
    // every frame they complete, the harmonic change of frame (n - delayFrames()): 0 (the same
    // pitch classes) to 1 (none in common).
    void feed(std::span<const float> samples, std::vector<float>& changes);

    // How many frames late the change of a frame is given.
    static int delayFrames();

private:
    void analyse(std::vector<float>& changes);

    FrequencyPower power_;
    std::vector<int> pitchClass_;                // of each FFT bin kept, from kFirstBin
    std::vector<std::array<float, 12>> chroma_;  // the last 2 × kChangeSpan frames, circularly
    std::uint64_t samples_ = 0;
    std::int64_t frames_ = 0;
};

}  // namespace lumiere::music
