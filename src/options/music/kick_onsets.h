// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The low-band onset strength of a stream, one value per 256-sample hop: how much the level
// below about 150 Hz rose in that hop above its highest level of the three hops before. Kick
// drums mark the beat in most dance music and dominate this band, while hi-hats do not reach it
// and bass notes rise slowly; so the strength tells the beat from the off-beat, and a beat from
// half a beat, where a broadband tracker may hesitate. Measuring the rise from the recent
// highest level, not from the hop before, ignores the ripple of a decaying low note (its cycle is
// as long as a hop), so a kick stands out even when clipping has flattened it.
// The last few seconds are kept for comb() to weigh a candidate beat grid, and their peaks
// (peakAt) are the kicks a beat clock follows.

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace lumiere::music {

// A peak of the strength: a kick, its onset time (stream seconds) and its strength.
struct KickPeak {
    double time = 0;
    double strength = 0;
};

class KickOnsets {
public:
    // Keeps `historySeconds` of hop strengths.
    explicit KickOnsets(double historySeconds = 8.0);

    void feed(std::span<const float> samples);

    // Mean over the grid's teeth in the kept history of the strongest hop within ±1 hop of each
    // tooth. The teeth are at `phase` + k·`period` (seconds, stream time), k any integer; 0 when
    // no tooth falls in the history. `seconds` keeps only the teeth in that most recent part of
    // the history.
    double comb(double period, double phase, double seconds = 1e9) const;
    // Mean of comb() over phases a hop apart across the period: what any grid of that period
    // would hold, the level a real beat must stand out from.
    double combBackground(double period, double seconds = 1e9) const;
    // Hops completed so far.
    std::int64_t hops() const { return hops_; }
    // The peak at `hop` when the strength there is above the hop before and not below the hop
    // after (so it is known once the next hop is complete), and the hop is still kept. Its time
    // is the centroid of the three hops' strengths, less the delay of the low-pass filter.
    std::optional<KickPeak> peakAt(std::int64_t hop) const;
    // Stream time covered so far, in seconds.
    double streamTime() const;

private:
    double strengthAt(std::int64_t hop) const;

    std::vector<float> ring_;  // strength of hop h at ring_[h % size]
    std::int64_t hops_ = 0;    // hops completed
    std::size_t filled_ = 0;   // samples of the hop in progress
    double low1_ = 0, low2_ = 0;
    double energy_ = 0;
    std::array<double, 3> recentLevels_{};  // level of hop h at [h % 3]
};

}  // namespace lumiere::music
