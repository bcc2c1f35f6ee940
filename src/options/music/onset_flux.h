// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The onset strength of a sound stream, one value per frame of 512 samples (11.6 ms): how much
// the spectrum rose in that frame, summed over bands a third of an octave wide from 40 Hz to
// 16 kHz. Each band is measured against its own level of the last seconds (a logarithm of the
// band's energy over its recent mean), so a quiet input, a loud bass or a microphone that cuts
// the low and the high bands give the same onsets for the same music; and each band's rise is
// half-wave rectified, so a note that fades gives nothing. Drums, plucked and struck notes all
// show; what no band rises for (a steady noise) does not.
//
// A frame is the 1024 samples up to its end (Hann window). Its onset is credited to the middle
// of the window, frameTime(n): measured on rendered arrangements, the beats then come on time
// (sharp synthetic kicks are seen some 15 ms sooner). Not thread-safe.

#include <cstdint>
#include <span>
#include <vector>

#include "music/frequency_power.h"

namespace lumiere::music {

inline constexpr int kFrameHop = 512;
inline constexpr int kFrameWindow = 1024;
inline constexpr int kOnsetDelay = kFrameWindow / 2;  // samples

class OnsetFlux {
public:
    OnsetFlux();
    ~OnsetFlux();
    OnsetFlux(const OnsetFlux&) = delete;
    OnsetFlux& operator=(const OnsetFlux&) = delete;

    // Analyses the samples (44 100 Hz mono) and appends the onset strength of every frame they
    // complete (0 or more, each 0 or above).
    void feed(std::span<const float> samples, std::vector<float>& strengths);

    // Frames completed so far.
    std::int64_t frames() const { return frames_; }
    // Stream time (seconds) an onset found in frame n is credited to.
    static double frameTime(std::int64_t n);
    // Seconds between frames.
    static double frameSeconds();

private:
    float analyse();

    FrequencyPower power_;
    std::uint64_t samples_ = 0;
    std::int64_t frames_ = 0;
    std::vector<int> bandEdges_;  // FFT bins: band b is [edges[b], edges[b+1])
    std::vector<double> bandMean_;
    std::vector<float> previous_;
};

}  // namespace lumiere::music
