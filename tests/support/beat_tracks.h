// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Synthetic music with known beats, for the beat-tracking tests and the beat benchmark: every
// track is mono float at 44 100 Hz, built from fixed seeds, so the same call always gives the same
// samples. `beats` holds the exact time of every beat (the onset of its kick), in seconds.

#include <cstdint>
#include <string>
#include <vector>

namespace lumiere::test {

inline constexpr int kTrackRate = 44100;

struct BeatTrack {
    std::string name;
    std::vector<float> samples;
    std::vector<double> beats;
    // The tempo in force at each beat (the interval to the next beat, in BPM); empty when the
    // track has no beat.
    std::vector<double> tempi;

    double seconds() const { return static_cast<double>(samples.size()) / kTrackRate; }
    // The true tempo at time t: the tempo of the last beat at or before t (the first before it).
    double tempoAt(double t) const;
};

// Dance music: a kick on every beat, a bass note on every off-beat, hi-hats on every eighth, a
// snare-like noise burst on beats 2 and 4, over pink noise. The first beat is at 0.25 s.
BeatTrack makeDanceTrack(double bpm, double seconds, std::uint32_t seed = 1);

// The same music on the given beats (ascending, in seconds), e.g. with a loose kick.
BeatTrack makeDanceTrackOn(const std::vector<double>& beats, double seconds,
                           std::uint32_t seed = 6);

// The same music starting at `fromBpm` and jumping to `toBpm` at the first beat past half the
// length (a step, as when a DJ cuts to the next song).
BeatTrack makeTempoStepTrack(double fromBpm, double toBpm, double seconds, std::uint32_t seed = 2);

// The same music whose tempo glides evenly from `fromBpm` to `toBpm` over `rampSeconds`,
// starting halfway (as when a DJ nudges the pitch to match the next song).
BeatTrack makeTempoRampTrack(double fromBpm, double toBpm, double seconds, double rampSeconds = 8,
                             std::uint32_t seed = 5);

// Digital silence.
BeatTrack makeSilence(double seconds);

// White noise with no beat, at the given peak amplitude.
BeatTrack makeWhiteNoise(double seconds, float amplitude = 0.5f, std::uint32_t seed = 3);

// Short clicks (a 2 ms decaying 2 kHz burst) on every beat, nothing else; e.g. 300 BPM.
BeatTrack makeClickTrack(double bpm, double seconds);

// The dance track amplified by `gain` and hard-clipped to ±1, as a saturated input would be.
BeatTrack makeClippedTrack(double bpm, double seconds, float gain = 4.0f, std::uint32_t seed = 4);

// The samples as a 16-bit PCM mono WAV file (for playing a track into a sound server).
std::string toWav(const std::vector<float>& samples);

}  // namespace lumiere::test
