// SPDX-License-Identifier: GPL-3.0-or-later
#include "music/kick_follower.h"

#include <algorithm>
#include <cmath>
#include <span>

#include "music/beat_tracker.h"

namespace lumiere::music {

namespace {

constexpr double kOnGrid = 0.012;        // a kick this close to a grid beat falls on it
constexpr double kOnLine = 0.006;        // kicks this close to a fitted grid lie on it
constexpr double kNearShare = 0.3;       // farther than this share of a period: not that beat
constexpr double kEarlyShare = 0.1;      // early by up to this share: given as the next beat
constexpr double kStrongShare = 0.5;     // of the usual kick strength, to count at all
constexpr double kEarlyStrength = 0.75;  // of the usual kick strength, to be given early
constexpr double kSeedSeconds = 4.0;     // kicks taken on restart
constexpr double kFitSeconds = 8.0;      // kicks kept for the fit
constexpr std::size_t kFitKicks = 16;
constexpr std::size_t kMostOffGrid = 4;

double residual(const BeatGrid& grid, double t) {
    return std::remainder(t - grid.anchor, grid.period);
}

bool inRange(const BeatGrid& grid) {
    return grid.bpm() >= kSlowestBpm && grid.bpm() < kFastestBpm;
}

std::vector<double> timesOf(auto begin, auto end) {
    std::vector<double> times;
    for (auto it = begin; it != end; ++it) times.push_back(it->time);
    return times;
}

// The largest distance of a time to its nearest beat of the grid.
double largestResidual(const BeatGrid& grid, std::span<const double> times) {
    double largest = 0;
    for (double t : times) largest = std::max(largest, std::abs(residual(grid, t)));
    return largest;
}

}  // namespace

double KickFollower::usualStrength(const BeatGrid& grid, const KickOnsets& onsets) const {
    if (onGrid_.size() >= 3) {
        std::vector<double> strengths;
        for (const Kick& kick : onGrid_) strengths.push_back(kick.strength);
        const auto middle = strengths.begin() + static_cast<std::ptrdiff_t>(strengths.size() / 2);
        std::nth_element(strengths.begin(), middle, strengths.end());
        return *middle;
    }
    return onsets.comb(grid.period, grid.anchor, kSeedSeconds);
}

BeatGrid KickFollower::restart(const BeatGrid& grid, const KickOnsets& onsets) {
    onGrid_.clear();
    offGrid_.clear();
    early_.reset();
    const double usual = usualStrength(grid, onsets);
    const auto seedHops = static_cast<std::int64_t>(kSeedSeconds * kSampleRate / kHopSize);
    nextHop_ = std::max<std::int64_t>(0, onsets.hops() - seedHops);
    for (; nextHop_ + 1 < onsets.hops(); ++nextHop_) {
        const std::optional<KickPeak> peak = onsets.peakAt(nextHop_);
        if (!peak || peak->strength < kStrongShare * usual) continue;
        if (std::abs(residual(grid, peak->time)) <= kOnGrid) {
            onGrid({peak->time, peak->strength}, grid);
        }
    }
    return refit(grid);
}

void KickFollower::onGrid(const Kick& kick, const BeatGrid& grid) {
    if (!onGrid_.empty() && std::round((kick.time - onGrid_.back().time) / grid.period) == 0) {
        // Two kicks for one beat: the stronger stays.
        if (kick.strength <= onGrid_.back().strength) return;
        onGrid_.pop_back();
    }
    onGrid_.push_back(kick);
    while (onGrid_.size() > kFitKicks || onGrid_.front().time < kick.time - kFitSeconds) {
        onGrid_.pop_front();
    }
}

BeatGrid KickFollower::refit(const BeatGrid& grid) const {
    const std::vector<double> times = timesOf(onGrid_.begin(), onGrid_.end());
    if (times.size() < 3) return grid;
    const std::optional<BeatGrid> fitted = fitRecent(times, grid.period);
    return fitted && inRange(*fitted) ? *fitted : grid;
}

std::optional<BeatGrid> KickFollower::moved(const BeatGrid& grid) const {
    if (offGrid_.size() < 2) return std::nullopt;
    const std::vector<double> off = timesOf(offGrid_.begin(), offGrid_.end());
    // A new tempo: the last kick on the grid and those off it on one line.
    if (!onGrid_.empty() && off.front() - onGrid_.back().time < 3.5 * grid.period) {
        std::vector<double> times{onGrid_.back().time};
        times.insert(times.end(), off.begin(), off.end());
        const std::optional<BeatGrid> fitted = fitGrid(times, grid.period, int(times.size()));
        if (fitted && inRange(*fitted) && largestResidual(*fitted, times) <= kOnLine) {
            return fitted;
        }
    }
    // The same tempo, the beat moved.
    double sum = 0;
    for (double t : off) sum += residual(grid, t);
    const BeatGrid shifted{grid.period, grid.anchor + sum / double(off.size()), grid.used};
    if (largestResidual(shifted, off) <= kOnLine) return shifted;
    // Enough kicks off the grid to fit a tempo of their own.
    if (off.size() >= 3) {
        const std::optional<BeatGrid> fitted = fitGrid(off, grid.period, int(off.size()));
        if (fitted && inRange(*fitted) && largestResidual(*fitted, off) <= kOnLine) {
            return fitted;
        }
    }
    return std::nullopt;
}

BeatGrid KickFollower::follow(const BeatGrid& start, const KickOnsets& onsets) {
    BeatGrid grid = start;
    const std::int64_t last = onsets.hops() - 1;  // a peak is known once the next hop is done
    if (nextHop_ >= last) return grid;
    const double usual = usualStrength(grid, onsets);
    for (; nextHop_ < last; ++nextHop_) {
        const std::optional<KickPeak> peak = onsets.peakAt(nextHop_);
        if (!peak || peak->strength < kStrongShare * usual) continue;
        const Kick kick{peak->time, peak->strength};
        const double off = residual(grid, kick.time);
        if (std::abs(off) > kNearShare * grid.period) continue;  // between beats
        if (std::abs(off) <= kOnGrid) {
            offGrid_.clear();
            onGrid(kick, grid);
            grid = refit(grid);
            continue;
        }
        if (!offGrid_.empty() && (residual(grid, offGrid_.back().time) < 0) != (off < 0)) {
            offGrid_.clear();  // off on both sides: a loose beat, not a move
        }
        offGrid_.push_back(kick);
        if (const std::optional<BeatGrid> next = moved(grid)) {
            // The kicks it was fitted on are the new grid's first kicks.
            grid = *next;
            const std::optional<Kick> before =
                onGrid_.empty() ? std::nullopt : std::optional(onGrid_.back());
            onGrid_.clear();
            if (before && std::abs(residual(grid, before->time)) <= kOnGrid) onGrid(*before, grid);
            for (const Kick& k : offGrid_) onGrid(k, grid);
            offGrid_.clear();
            continue;
        }
        if (offGrid_.size() > kMostOffGrid) offGrid_.erase(offGrid_.begin());
        if (off < 0 && off >= -kEarlyShare * grid.period &&
            kick.strength >= kEarlyStrength * usual) {
            early_ = kick.time;
        }
    }
    return grid;
}

std::optional<double> KickFollower::takeEarlyKick() {
    std::optional<double> early = early_;
    early_.reset();
    return early;
}

}  // namespace lumiere::music
