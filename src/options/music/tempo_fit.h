// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A beat grid fitted to beat times by least squares: each time is given the index of the grid
// beat nearest to it, times too far from every grid beat are left out (an extra beat), and a
// grid beat with no time is simply missing; the period is the slope of time against index.
// Used on the tracker's beats and on the user's taps.

#include <optional>
#include <span>

namespace lumiere::music {

// The tempi followed, in BPM: slower music is followed at twice its tempo, faster at half.
inline constexpr double kSlowestBpm = 70;
inline constexpr double kFastestBpm = 200;

struct BeatGrid {
    double period = 0;  // seconds per beat
    double anchor = 0;  // time of the grid beat nearest to the last time given
    int used = 0;       // times that fitted the grid

    double bpm() const { return period > 0 ? 60.0 / period : 0; }
    // The first grid beat strictly after t.
    double nextAfter(double t) const;
};

// The typical interval between successive times: the median of the intervals, each divided by
// the whole number of `reference` periods it spans when it is within 15 % of such a multiple
// (so a missed beat counts as two intervals, not one long one). Intervals shorter than half the
// reference are skipped. Without a reference (0), or when most intervals fit no multiple of it,
// the plain median of the intervals. Nothing when fewer than two times are given.
std::optional<double> typicalInterval(std::span<const double> times, double reference = 0);

// The grid of the times (ascending), starting from the interval `period`: nothing when fewer
// than `minimumUsed` times fit it. Times more than a quarter period off the grid are left out.
std::optional<BeatGrid> fitGrid(std::span<const double> times, double period, int minimumUsed = 3);

// The grid that goes on from the last time along a parabola fitted by least squares to the times
// (time against beat index, the indices counted in periods of `period`; ascending times, at most
// one per beat): a tempo that glides. Its period is the parabola's next interval. Nothing with
// fewer than three times.
std::optional<BeatGrid> fitGlide(std::span<const double> times, double period);

// The grid that best foretells the times to come, from ascending times at most one per beat
// (e.g. kicks): among lines (a steady tempo) fitted to the last n times and, from six times on,
// parabolas (a gliding tempo), judged by how well their fits foretold each of the last three
// times from the n before it, the steadiest of those within 1.5 ms of the best: a line rather
// than a parabola, the most times. While the tempo holds, that is the longest line (the least
// jitter); while it glides, a parabola; after a bend, a short line over the times since. With too
// few times to judge, the line through all of them. Nothing with fewer than two times.
std::optional<BeatGrid> fitRecent(std::span<const double> times, double period);

}  // namespace lumiere::music
