// SPDX-License-Identifier: GPL-3.0-or-later
#include "music/beat_clock.h"

#include "music/beat_tracker.h"

#include <algorithm>
#include <cmath>

namespace lumiere::music {

namespace {

constexpr double kFitSeconds = 8.0;
constexpr std::size_t kFitBeats = 16;
// Grids are compared on the onsets of the last 3 s.
constexpr double kChooseSeconds = 3.0;
// A faster grid wins while its teeth hold this share of the strongest grid's onsets.
constexpr double kFasterShare = 0.75;
// Every other tooth of a faster grid must hold this share of the teeth between.
constexpr double kEvenShare = 0.6;
// The grid in force keeps its place unless another of its tempo is stronger by this factor.
constexpr double kKeepBonus = 1.2;
// Two grids within this share of a period in tempo and phase are the same grid.
constexpr double kSameTempo = 0.1;
constexpr double kSamePhase = 0.25;
// To start giving beats, the grid's teeth must hold this many times the mean onset strength
// over the whole history (8 s); to go on, this lower share over the last 3 s or the history.
constexpr double kLockContrast = 4.2;
constexpr double kKeepContrast = 2.5;
constexpr double kKeepSeconds = 3.0;
constexpr double kLateLimit = 0.04;
// A beat comes at least this share of a period after the one before: when the grid moves by
// half a beat (off-beat corrected), a beat is skipped rather than given twice as fast.
constexpr double kShortestGap = 0.6;
// Beats stop when the tracker has given none for this many periods (and at least 1.5 s).
constexpr double kSilentPeriods = 3.0;

double contrast(const KickOnsets& onsets, const BeatGrid& grid, double seconds) {
    const double background = onsets.combBackground(grid.period, seconds);
    return background > 0 ? onsets.comb(grid.period, grid.anchor, seconds) / background : 0;
}

bool sameGrid(const BeatGrid& a, const BeatGrid& b) {
    return std::abs(a.period - b.period) < kSameTempo * b.period &&
           std::abs(std::remainder(a.anchor - b.anchor, b.period)) < kSamePhase * b.period;
}

}  // namespace

void BeatClock::trackerBeat(double t, const KickOnsets& onsets) {
    trackerBeats_.push_back(t);
    while (trackerBeats_.size() > kFitBeats || trackerBeats_.front() < t - kFitSeconds) {
        trackerBeats_.pop_front();
    }
    const std::vector<double> times(trackerBeats_.begin(), trackerBeats_.end());
    const std::optional<double> interval = typicalInterval(times, trackerPeriod_);
    if (!interval) return;
    trackerPeriod_ = *interval;
    const std::optional<BeatGrid> fitted = fitGrid(times, trackerPeriod_, 4);
    if (!fitted) return;
    const BeatGrid chosen = chooseGrid(*fitted, onsets);
    // The grid followed stays while it wins (the kicks keep it exact); another one starts over
    // on the kicks. Without kicks to follow, the tracker's grid is taken as it is.
    const bool confirmed = grid_ && sameGrid(chosen, *grid_);
    if (!confirmed || kicks_.kicksOnGrid() < 3) grid_ = kicks_.restart(chosen, onsets);
    judgeLock(onsets, confirmed);
}

void BeatClock::followKicks(const KickOnsets& onsets) {
    if (!grid_) return;
    const BeatGrid followed = kicks_.follow(*grid_, onsets);
    // The tracker's intervals fold on the tempo the kicks have set.
    trackerPeriod_ *= followed.period / grid_->period;
    grid_ = followed;
}

void BeatClock::judgeLock(const KickOnsets& onsets, bool confirmed) {
    if (!standsOut_) {
        // Beats start on a grid chosen twice in a row, not on a first guess.
        standsOut_ = confirmed && contrast(onsets, *grid_, 1e9) >= kLockContrast;
    } else {
        standsOut_ = contrast(onsets, *grid_, kKeepSeconds) >= kKeepContrast ||
                     contrast(onsets, *grid_, 1e9) >= kKeepContrast;
    }
}

BeatGrid BeatClock::chooseGrid(const BeatGrid& fitted, const KickOnsets& onsets) const {
    struct Candidate {
        BeatGrid grid;
        double strength;  // of the onsets on its teeth
        double score;     // the same, with the bonus of the grid in force
    };
    std::vector<Candidate> candidates;
    auto weigh = [&](const BeatGrid& grid) {
        const double strength = onsets.comb(grid.period, grid.anchor, kChooseSeconds);
        const bool inForce = grid_ && sameGrid(grid, *grid_);
        candidates.push_back({grid, strength, inForce ? strength * kKeepBonus : strength});
    };
    if (grid_) weigh(*grid_);
    const double p = fitted.period;
    for (double factor : {0.5, 1.0, 2.0}) {
        const double q = p * factor;
        if (60.0 / q < kSlowestBpm || 60.0 / q >= kFastestBpm) continue;
        // Phases a half tracker period apart that give distinct grids of period q.
        const int shifts = factor == 0.5 ? 1 : (factor == 1.0 ? 2 : 4);
        for (int shift = 0; shift < shifts; ++shift) {
            weigh(BeatGrid{q, fitted.anchor + shift * p / 2, fitted.used});
        }
    }
    if (candidates.empty()) return fitted;
    // The fastest tempo with enough strength (tempi within 10 % are one tempo), then its grid
    // with the best score. A faster tempo must also not be the slower one with weaker beats
    // between (off-beat bass notes): every other tooth of it holds nearly as much as the teeth
    // between, over the whole history.
    const Candidate* strongest = &candidates.front();
    for (const Candidate& c : candidates) {
        if (c.strength > strongest->strength) strongest = &c;
    }
    const double enough = kFasterShare * strongest->strength;
    auto evenBeats = [&](const BeatGrid& grid) {
        const double even = onsets.comb(2 * grid.period, grid.anchor);
        const double odd = onsets.comb(2 * grid.period, grid.anchor + grid.period);
        return std::min(even, odd) >= kEvenShare * std::max(even, odd);
    };
    double fastest = strongest->grid.period;
    for (const Candidate& c : candidates) {
        if (c.strength >= enough && c.grid.period < (1 - kSameTempo) * fastest &&
            evenBeats(c.grid)) {
            fastest = c.grid.period;
        }
    }
    const Candidate* chosen = nullptr;
    for (const Candidate& c : candidates) {
        if (c.strength < enough || std::abs(c.grid.period - fastest) > kSameTempo * fastest) {
            continue;
        }
        if (!chosen || c.score > chosen->score) chosen = &c;
    }
    return chosen->grid;
}

bool BeatClock::locked(double streamTime) const {
    if (!grid_ || !standsOut_ || trackerBeats_.empty()) return false;
    const double quiet = std::max(1.5, kSilentPeriods * grid_->period);
    return streamTime - trackerBeats_.back() <= quiet;
}

std::optional<BeatGrid> BeatClock::grid(double streamTime) const {
    if (!locked(streamTime)) return std::nullopt;
    return grid_;
}

void BeatClock::emitUntil(double streamTime, std::vector<double>& beats) {
    const std::optional<double> early = kicks_.takeEarlyKick();
    if (!locked(streamTime)) return;
    // A kick clearly before the next grid beat is that beat, given now at its own time.
    const double gap = kShortestGap * grid_->period;
    if (early && *early >= lastGiven_ + gap && *early >= streamTime - kLateLimit) {
        beats.push_back(*early);
        lastGiven_ = *early;
    }
    // The next grid beat at least kShortestGap after the last one given. A grid beat already
    // past by more than kLateLimit (the grid moved, or the clock has just locked) is skipped:
    // the lights would step at the wrong time.
    const double from = std::max(lastGiven_ + gap, streamTime - kLateLimit);
    for (double next = grid_->nextAfter(from); next <= streamTime; next += grid_->period) {
        beats.push_back(next);
        lastGiven_ = next;
    }
}

}  // namespace lumiere::music
