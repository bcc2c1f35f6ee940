// SPDX-License-Identifier: GPL-3.0-or-later
#include "music/tempo_salience.h"

#include <algorithm>
#include <cmath>

#include "music/onset_flux.h"

namespace lumiere::music {

namespace {
// The onsets' mean, taken off before correlating: over about 2 s.
const double kMeanKeep = std::exp(-OnsetFlux::frameSeconds() / 2.0);
constexpr int kMultiples = 4;
}  // namespace

TempoSalience::TempoSalience(Settings settings)
    : settings_(settings),
      keep_(std::exp(-OnsetFlux::frameSeconds() / settings.memory)),
      history_(static_cast<std::size_t>(kMultiples * settings.longestPeriod + 2), 0.0f),
      products_(history_.size(), 0.0) {}

void TempoSalience::add(float strength) {
    // The mean of the frames so far while they are fewer than its memory, then a running one.
    meanWeight_ = kMeanKeep * meanWeight_ + 1;
    mean_ += (strength - mean_) / meanWeight_;
    const auto size = static_cast<std::int64_t>(history_.size());
    const auto x = static_cast<float>(strength - mean_);
    history_[static_cast<std::size_t>(frames_ % size)] = x;
    const std::int64_t lags = std::min<std::int64_t>(size, frames_ + 1);
    for (std::int64_t lag = 0; lag < lags; ++lag) {
        const float before = history_[static_cast<std::size_t>((frames_ - lag) % size)];
        products_[static_cast<std::size_t>(lag)] =
            keep_ * products_[static_cast<std::size_t>(lag)] + double(x) * before;
    }
    ++frames_;
}

double TempoSalience::correlation(double lag) const {
    const double variance = products_[0];
    if (variance <= 1e-12 || lag < 0) return 0;
    const auto low = static_cast<std::size_t>(std::floor(lag));
    if (low + 1 >= products_.size()) return 0;
    const double part = lag - double(low);
    return ((1 - part) * products_[low] + part * products_[low + 1]) / variance;
}

double TempoSalience::salience(double period) const {
    // Each multiple at its best within a frame either way (the beat's jitter).
    double sum = 0;
    for (int k = 1; k <= kMultiples; ++k) {
        const double lag = k * period;
        const double best =
            std::max({correlation(lag - 1), correlation(lag), correlation(lag + 1)});
        sum += best / k;
    }
    return std::max(0.0, sum);
}

double TempoSalience::refine(int period) const {
    // A parabola through the correlations around the period's peak.
    const double a = correlation(period - 1), b = correlation(period), c = correlation(period + 1);
    const double bend = a - 2 * b + c;
    if (bend >= 0) return period;
    return period + std::clamp(0.5 * (a - c) / bend, -1.0, 1.0);
}

}  // namespace lumiere::music
