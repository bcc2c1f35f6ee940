#pragma once
// A beat grid fitted to beat times by least squares: each time is given the index of the grid
// beat nearest to it, times too far from every grid beat are left out (an extra beat), and a
// grid beat with no time is simply missing; the period is the slope of time against index.
// Used on the tracker's beats and on the user's taps.

#include <optional>
#include <span>

namespace lumiere::music {

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

}  // namespace lumiere::music
