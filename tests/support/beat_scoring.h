// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Scores beats found against the true beats of a track: each true beat is matched with at most
// one beat found within the tolerance; beats found that match nothing are extra.

#include <vector>

namespace lumiere::test {

struct BeatScore {
    int trueBeats = 0;         // true beats in the scored span
    int found = 0;             // true beats matched by a beat found within the tolerance
    int extra = 0;             // beats found in the span that match no true beat
    double medianErrorMs = 0;  // median of |found - true| over the matches
    double meanErrorMs = 0;    // mean of (found - true): negative when beats come early

    double foundShare() const { return trueBeats == 0 ? 0 : double(found) / trueBeats; }
    double extraShare() const { return trueBeats == 0 ? 0 : double(extra) / trueBeats; }
};

// Scores the beats in [from, until) (seconds), matching within ±toleranceMs.
BeatScore scoreBeats(const std::vector<double>& truth, const std::vector<double>& found,
                     double from, double until, double toleranceMs = 25.0);

}  // namespace lumiere::test

namespace lumiere::test {

// Scoring as the MIREX beat-tracking evaluations do it, on beats found and true beats in seconds
// (ascending): the beats before `from` (5 s) of both are left out, each true beat is matched with
// at most one beat found within ±`window` (70 ms), and F = 2PR/(P+R), P the share of found beats
// matched, R the share of true beats matched (0 when either list is empty).
double fMeasure(const std::vector<double>& truth, const std::vector<double>& found,
                double from = 5.0, double window = 0.07);

// The true beats at the other metrical levels a listener may tap: the off-beats, twice the tempo,
// and half of it on the odd or on the even beats.
std::vector<std::vector<double>> otherLevels(const std::vector<double>& truth);

struct MirexScore {
    double f = 0;          // F at the best latency
    double fAnyLevel = 0;  // the best F over the true beats and otherLevels(), at its best latency
    double latency = 0;    // seconds the beats found are late: their median delay at the best F
};

// F after the constant latency within [earliest, latest] (seconds, 1 ms steps) that gives the
// best F is taken off the beats found: a follower late by a constant delay is judged on the
// beats it finds, the delay being reported apart.
MirexScore mirexScore(const std::vector<double>& truth, const std::vector<double>& found,
                      double earliest = -0.05, double latest = 0.1);

}  // namespace lumiere::test
