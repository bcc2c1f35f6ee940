#include "music/beat_clock.h"

#include "music/beat_tracker.h"

#include <algorithm>
#include <cmath>

namespace lumiere::music {

namespace {

constexpr double kMinBpm = 70;
constexpr double kMaxBpm = 200;
constexpr double kFitSeconds = 8.0;
constexpr std::size_t kFitBeats = 16;
// A faster grid wins while its teeth hold this share of the strongest grid's onsets.
constexpr double kFasterShare = 0.75;
// The grid in force keeps its place unless another is stronger by this factor.
constexpr double kKeepBonus = 1.2;
// The grid's teeth must hold this many times the mean onset strength.
constexpr double kMinContrast = 2.2;
// The onsets may correct the tracker's grid by up to ±8 % in tempo and any phase, judged over the
// last 3 s, when that makes the teeth hold 30 % more.
constexpr double kRefineSeconds = 3.0;
constexpr double kRefineRange = 0.08;
constexpr double kRefineStep = 0.0025;
constexpr double kRefineGain = 1.3;
constexpr double kHopSeconds = double(kHopSize) / kSampleRate;
constexpr double kLateLimit = 0.04;
// Beats stop when the tracker has given none for this many periods (and at least 1.5 s).
constexpr double kSilentPeriods = 3.0;

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
    BeatGrid chosen = chooseGrid(*fitted, onsets);
    const BeatGrid refined = refineGrid(chosen, onsets);
    if (onsets.comb(refined.period, refined.anchor, kRefineSeconds) >
        kRefineGain * onsets.comb(chosen.period, chosen.anchor, kRefineSeconds)) {
        // The onsets have moved away from the tracker (a new tempo): follow them, and fold the
        // tracker's next intervals on the new tempo.
        trackerPeriod_ *= refined.period / chosen.period;
        chosen = refined;
    }
    const double background = onsets.combBackground(chosen.period);
    contrast_ = background > 0 ? onsets.comb(chosen.period, chosen.anchor) / background : 0;
    grid_ = chosen;
}

BeatGrid BeatClock::refineGrid(const BeatGrid& grid, const KickOnsets& onsets) {
    // The teeth tolerate a hop either side, so the best score is a plateau of nearby grids: its
    // middle is taken, not its first grid.
    struct Scored {
        double period, anchor, score;
    };
    std::vector<Scored> scored;
    double best = 0;
    for (double change = -kRefineRange; change <= kRefineRange + 1e-9; change += kRefineStep) {
        const double period = grid.period * (1 + change);
        const int shifts = static_cast<int>(period / 2 / kHopSeconds);
        for (int shift = -shifts; shift <= shifts; ++shift) {
            const double anchor = grid.anchor + shift * kHopSeconds;
            const double score = onsets.comb(period, anchor, kRefineSeconds);
            best = std::max(best, score);
            scored.push_back({period, anchor, score});
        }
    }
    if (best <= 0) return grid;
    double periods = 0, anchors = 0;
    int count = 0;
    const Scored* top = nullptr;
    for (const Scored& s : scored) {
        if (s.score < best * 0.98) continue;
        if (!top) top = &s;
        // Only the plateau around the first best grid: another phase is another grid.
        if (std::abs(s.anchor - top->anchor) > 3 * kHopSeconds) continue;
        periods += s.period;
        anchors += s.anchor;
        ++count;
    }
    return BeatGrid{periods / count, anchors / count, grid.used};
}

BeatGrid BeatClock::chooseGrid(const BeatGrid& fitted, const KickOnsets& onsets) const {
    struct Candidate {
        BeatGrid grid;
        double score;
    };
    std::vector<Candidate> candidates;
    const double p = fitted.period;
    for (double factor : {0.5, 1.0, 2.0}) {
        const double q = p * factor;
        if (60.0 / q < kMinBpm || 60.0 / q >= kMaxBpm) continue;
        // Phases a half tracker period apart that give distinct grids of period q.
        const int shifts = factor == 0.5 ? 1 : (factor == 1.0 ? 2 : 4);
        for (int shift = 0; shift < shifts; ++shift) {
            const BeatGrid grid{q, fitted.anchor + shift * p / 2, fitted.used};
            double score = onsets.comb(grid.period, grid.anchor);
            if (grid_ && std::abs(grid_->period - q) < 0.1 * q) {
                const double offset = std::remainder(grid.anchor - grid_->anchor, q);
                if (std::abs(offset) < q / 4) score *= kKeepBonus;
            }
            candidates.push_back({grid, score});
        }
    }
    if (candidates.empty()) return fitted;
    double best = 0;
    for (const Candidate& c : candidates) best = std::max(best, c.score);
    // The fastest tempo with enough strength, and its strongest phase.
    const Candidate* chosen = nullptr;
    for (const Candidate& c : candidates) {
        if (c.score < kFasterShare * best) continue;
        if (!chosen || c.grid.period < chosen->grid.period - 1e-9 ||
            (std::abs(c.grid.period - chosen->grid.period) < 1e-9 && c.score > chosen->score)) {
            chosen = &c;
        }
    }
    return chosen->grid;
}

bool BeatClock::locked(double streamTime) const {
    if (!grid_ || contrast_ < kMinContrast || trackerBeats_.empty()) return false;
    const double quiet = std::max(1.5, kSilentPeriods * grid_->period);
    return streamTime - trackerBeats_.back() <= quiet;
}

std::optional<BeatGrid> BeatClock::grid(double streamTime) const {
    if (!locked(streamTime)) return std::nullopt;
    return grid_;
}

void BeatClock::emitUntil(double streamTime, std::vector<double>& beats) {
    if (!locked(streamTime)) return;
    // The next grid beat at least half a period after the last one given. A grid beat already
    // past by more than kLateLimit (the grid moved, or the clock has just locked) is skipped:
    // the lights would step at the wrong time.
    const double from = std::max(lastGiven_ + grid_->period / 2, streamTime - kLateLimit);
    for (double next = grid_->nextAfter(from); next <= streamTime; next += grid_->period) {
        beats.push_back(next);
        lastGiven_ = next;
    }
}

}  // namespace lumiere::music
