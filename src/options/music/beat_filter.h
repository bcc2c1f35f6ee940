// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Where the beat is, frame by frame: a filter over every (period, phase) a beat can have, each
// hypothesis weighed by how well the onsets heard so far fit it. A hypothesis moves one frame
// along its period per frame; when it reaches the end of its period (a beat) it may go on at
// a nearby period (the tempo drifts), the nearer the likelier, and the tempo's own weight
// (TempoSalience, how likely such a tempo is) is applied there. Onsets near the start of a
// period make it likelier. The hypotheses all run at once, so an off-beat, a half or a double
// tempo are followed side by side until the music tells them apart; and the beat to come is
// foretold from the likeliest of them, not found after it has passed.
// Periods are whole frames of OnsetFlux (25 to 75: 206 to 69 BPM). Not thread-safe.

#include <cstdint>
#include <span>
#include <vector>

namespace lumiere::music {

class BeatFilter {
public:
    struct Settings {
        int shortestPeriod = 25;
        int longestPeriod = 75;
        // How fast the odds of a tempo change fall with the change (per share of the period).
        double tempoChange = 50;
        // The share of a period, from its start, in which an onset is on the beat.
        double beatShare = 1.0 / 16;
        // How much likelier a clear onset (1) makes a hypothesis with a beat on it.
        double onsetGain = 4;
        // The share of the odds given back each frame to every hypothesis, by the weight of its
        // period: a tempo far from the one followed can take over within a second or two.
        double renewal = 1e-3;
    };

    BeatFilter() : BeatFilter(Settings{}) {}
    explicit BeatFilter(Settings settings);

    // The next frame: how much it holds an onset, 0 (none) to 1 (a clear one), and the weight of
    // each period (index 0: shortestPeriod), applied to the hypotheses starting a beat; empty:
    // all alike.
    void step(double onset, std::span<const double> periodWeights = {});

    // Evidence that comes late: how much likelier (`likelihood` times) a beat `framesAgo`
    // frames ago is, within `spread` frames either way (0 < framesAgo - spread, framesAgo +
    // spread < shortestPeriod). The hypotheses that put their last beat there are weighed by it.
    void confirm(double likelihood, int framesAgo, int spread);

    struct Estimate {
        double period = 0;     // frames: the likeliest tempo's period, refined by its neighbours
        int framesToBeat = 0;  // from the last frame to that tempo's next beat: 1 to period
        double certainty = 0;  // the share of the odds on that tempo
    };
    // The beat to come, from the hypotheses' odds.
    Estimate estimate() const;

    int periods() const { return settings_.longestPeriod - settings_.shortestPeriod + 1; }

private:
    std::size_t at(int periodIndex, int phase) const;

    Settings settings_;
    std::vector<std::size_t> offset_;  // first state of each period
    std::vector<int> head_;            // where phase 0 of each period is, circularly
    std::vector<double> odds_;         // one per (period, phase)
    std::vector<double> transition_;   // periods × periods, rows sum to 1
    mutable std::vector<double> ends_;
    mutable std::vector<double> toBeat_;
};

}  // namespace lumiere::music
