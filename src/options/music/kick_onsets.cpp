// SPDX-License-Identifier: GPL-3.0-or-later
#include "music/kick_onsets.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "music/beat_tracker.h"

namespace lumiere::music {

namespace {
// Two one-pole low-pass stages at 150 Hz.
const double kLowPass = std::exp(-2.0 * std::numbers::pi * 150.0 / kSampleRate);
// Strength of a hop is credited to its middle.
constexpr double kHopSeconds = double(kHopSize) / kSampleRate;
// How much later than the kick's onset the centroid of its strengths falls (measured on the
// synthetic kicks: 3 ms, spread ±1 ms).
constexpr double kPeakDelay = 0.003;
}  // namespace

KickOnsets::KickOnsets(double historySeconds)
    : ring_(static_cast<std::size_t>(std::ceil(historySeconds / kHopSeconds)) + 1, 0.0f) {}

void KickOnsets::feed(std::span<const float> samples) {
    for (float sample : samples) {
        low1_ = kLowPass * low1_ + (1 - kLowPass) * sample;
        low2_ = kLowPass * low2_ + (1 - kLowPass) * low1_;
        energy_ += low2_ * low2_;
        if (++filled_ < std::size_t(kHopSize)) continue;
        const double level = std::sqrt(energy_ / kHopSize);
        const double recent = *std::max_element(recentLevels_.begin(), recentLevels_.end());
        ring_[static_cast<std::size_t>(hops_) % ring_.size()] =
            static_cast<float>(std::max(0.0, level - recent));
        recentLevels_[static_cast<std::size_t>(hops_) % recentLevels_.size()] = level;
        energy_ = 0;
        filled_ = 0;
        ++hops_;
    }
}

double KickOnsets::streamTime() const {
    return (double(hops_) * kHopSize + double(filled_)) / kSampleRate;
}

double KickOnsets::strengthAt(std::int64_t hop) const {
    const auto kept = static_cast<std::int64_t>(ring_.size());
    if (hop < 0 || hop >= hops_ || hop < hops_ - kept) return 0;
    return ring_[static_cast<std::size_t>(hop % kept)];
}

std::optional<KickPeak> KickOnsets::peakAt(std::int64_t hop) const {
    const auto kept = static_cast<std::int64_t>(ring_.size());
    if (hop + 1 >= hops_ || hop < hops_ - kept + 1) return std::nullopt;
    const double before = strengthAt(hop - 1), at = strengthAt(hop), after = strengthAt(hop + 1);
    if (at <= before || at < after) return std::nullopt;
    const double middle = (double(hop) + 0.5) * kHopSeconds;
    const double centroid = middle + (after - before) / (before + at + after) * kHopSeconds;
    return KickPeak{centroid - kPeakDelay, at};
}

double KickOnsets::combBackground(double period, double seconds) const {
    const int phases = std::max(8, static_cast<int>(period / kHopSeconds));
    double sum = 0;
    for (int j = 0; j < phases; ++j) sum += comb(period, period * j / phases, seconds);
    return sum / phases;
}

double KickOnsets::comb(double period, double phase, double seconds) const {
    if (period <= 0 || hops_ == 0) return 0;
    const auto kept = std::min<std::int64_t>(hops_, static_cast<std::int64_t>(ring_.size()));
    const double until = double(hops_) * kHopSeconds;
    const double from = std::max(double(hops_ - kept) * kHopSeconds, until - seconds);
    double tooth = phase + std::ceil((from - phase) / period) * period;
    double sum = 0;
    int teeth = 0;
    for (; tooth < until; tooth += period) {
        const auto hop = static_cast<std::int64_t>(std::floor(tooth / kHopSeconds));
        sum += std::max({strengthAt(hop - 1), strengthAt(hop), strengthAt(hop + 1)});
        ++teeth;
    }
    return teeth == 0 ? 0 : sum / teeth;
}

}  // namespace lumiere::music
