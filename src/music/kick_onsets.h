#pragma once
// The low-band onset strength of a stream, one value per 256-sample hop: how much the level
// below about 150 Hz rose in that hop. Kick drums mark the beat in most dance music and dominate
// this band, while hi-hats do not reach it and bass notes rise slowly; so the strength tells the
// beat from the off-beat, and a beat from half a beat, where a broadband tracker may hesitate.
// The last few seconds are kept for comb() to weigh a candidate beat grid.

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace lumiere::music {

class KickOnsets {
public:
    // Keeps `historySeconds` of hop strengths.
    explicit KickOnsets(double historySeconds = 4.0);

    void feed(std::span<const float> samples);

    // Mean over the grid's teeth in the kept history of the strongest hop within ±1 hop of each
    // tooth. The teeth are at `phase` + k·`period` (seconds, stream time), k any integer; 0 when
    // no tooth falls in the history. `seconds` keeps only the teeth in that most recent part of
    // the history.
    double comb(double period, double phase, double seconds = 1e9) const;
    // Mean of comb() over eight phases spread evenly across the period: what any grid of that
    // period would hold, the level a real beat must stand out from.
    double combBackground(double period, double seconds = 1e9) const;
    // Stream time covered so far, in seconds.
    double streamTime() const;

private:
    double strengthAt(std::int64_t hop) const;

    std::vector<float> ring_;  // strength of hop h at ring_[h % size]
    std::int64_t hops_ = 0;    // hops completed
    std::size_t filled_ = 0;   // samples of the hop in progress
    double low1_ = 0, low2_ = 0;
    double energy_ = 0;
    double previousLevel_ = 0;
};

}  // namespace lumiere::music
