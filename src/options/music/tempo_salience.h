// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// How strongly the onsets of the last seconds repeat at each beat period: a running
// autocorrelation of the onset strength (its mean taken off), forgotten over about `memory`
// seconds, and from it a salience per period that also counts the period's multiples (a beat
// repeats every two, three or four beats too). The strongest salient period, weighed by how
// likely such a tempo is, is the tempo; how much its repetition stands out of the onsets'
// own variance says whether there is a beat at all (steady noise, silence: none).
// Periods are in frames of OnsetFlux. Not thread-safe.

#include <cstdint>
#include <vector>

namespace lumiere::music {

class TempoSalience {
public:
    struct Settings {
        int shortestPeriod = 25;  // frames: 206 BPM
        int longestPeriod = 75;   // frames: 69 BPM
        double memory = 6.0;      // seconds
    };

    TempoSalience() : TempoSalience(Settings{}) {}
    explicit TempoSalience(Settings settings);

    // The onset strength of the next frame.
    void add(float strength);

    // The autocorrelation at `lag` frames (fractional lags interpolated), as a share of the
    // onsets' variance: 1 at lag 0, about 0 at every lag for noise.
    double correlation(double lag) const;
    // The salience of a period: its correlation and those of its multiples, 0 or more.
    double salience(double period) const;
    // The period (fractional frames) of the strongest salience near `period`, refined.
    double refine(int period) const;

    int shortestPeriod() const { return settings_.shortestPeriod; }
    int longestPeriod() const { return settings_.longestPeriod; }
    std::int64_t frames() const { return frames_; }

private:
    Settings settings_;
    double keep_;
    std::vector<float> history_;    // mean-removed strengths, history_[n % size]
    std::vector<double> products_;  // running mean of x[n]·x[n-lag], lag 0..size-1
    double mean_ = 0;
    double meanWeight_ = 0;
    std::int64_t frames_ = 0;
};

}  // namespace lumiere::music
