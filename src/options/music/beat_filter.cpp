// SPDX-License-Identifier: GPL-3.0-or-later
#include "music/beat_filter.h"

#include <algorithm>
#include <cmath>

namespace lumiere::music {

BeatFilter::BeatFilter(Settings settings) : settings_(settings) {
    const int n = periods();
    std::size_t total = 0;
    for (int i = 0; i < n; ++i) {
        offset_.push_back(total);
        total += static_cast<std::size_t>(settings_.shortestPeriod + i);
    }
    head_.assign(static_cast<std::size_t>(n), 0);
    odds_.assign(total, 1.0 / double(total));
    transition_.assign(static_cast<std::size_t>(n * n), 0.0);
    for (int from = 0; from < n; ++from) {
        double sum = 0;
        const double p = settings_.shortestPeriod + from;
        for (int to = 0; to < n; ++to) {
            const double q = settings_.shortestPeriod + to;
            const double w = std::exp(-settings_.tempoChange * std::abs(q / p - 1));
            transition_[static_cast<std::size_t>(from * n + to)] = w;
            sum += w;
        }
        for (int to = 0; to < n; ++to) transition_[static_cast<std::size_t>(from * n + to)] /= sum;
    }
    ends_.resize(static_cast<std::size_t>(n));
    toBeat_.resize(static_cast<std::size_t>(settings_.longestPeriod + 1));
}

std::size_t BeatFilter::at(int periodIndex, int phase) const {
    const int period = settings_.shortestPeriod + periodIndex;
    return offset_[static_cast<std::size_t>(periodIndex)] +
           static_cast<std::size_t>((head_[static_cast<std::size_t>(periodIndex)] + phase) %
                                    period);
}

void BeatFilter::step(double onset, std::span<const double> periodWeights) {
    const int n = periods();
    // The hypotheses at the end of their period start a beat, at their period or a nearby one.
    for (int i = 0; i < n; ++i)
        ends_[std::size_t(i)] = odds_[at(i, settings_.shortestPeriod + i - 1)];
    for (int i = 0; i < n; ++i) {
        const int period = settings_.shortestPeriod + i;
        auto& head = head_[std::size_t(i)];
        head = (head + period - 1) % period;  // every phase moves on by one
    }
    for (int to = 0; to < n; ++to) {
        double sum = 0;
        for (int from = 0; from < n; ++from)
            sum += ends_[std::size_t(from)] * transition_[std::size_t(from * n + to)];
        if (!periodWeights.empty()) sum *= periodWeights[std::size_t(to)];
        odds_[at(to, 0)] = sum;
    }
    // An onset makes the hypotheses that put a beat there likelier. Onsets between beats count
    // neither way: music has as many of them as of beats (off-beats, fills), and a filter that
    // held them against a tempo would take the fastest one that has a beat on each.
    const double onBeat = 1 + settings_.onsetGain * std::clamp(onset, 0.0, 1.0);
    double total = 0;
    for (int i = 0; i < n; ++i) {
        const int period = settings_.shortestPeriod + i;
        const int beatPhases =
            std::max(1, static_cast<int>(std::lround(period * settings_.beatShare)));
        for (int phase = 0; phase < period; ++phase) {
            double& p = odds_[at(i, phase)];
            if (phase < beatPhases) p *= onBeat;
            total += p;
        }
    }
    if (total <= 0 || !std::isfinite(total)) {
        std::fill(odds_.begin(), odds_.end(), 1.0 / double(odds_.size()));
        return;
    }
    // Renewal: a little of the odds spread over every hypothesis, each period by its weight.
    double weightSum = 0;
    for (int i = 0; i < n; ++i) {
        const double w = periodWeights.empty() ? 1.0 : periodWeights[std::size_t(i)];
        weightSum += w * (settings_.shortestPeriod + i);
    }
    const double keep = (1 - settings_.renewal) / total;
    for (int i = 0; i < n; ++i) {
        const double w = periodWeights.empty() ? 1.0 : periodWeights[std::size_t(i)];
        const double spread = weightSum > 0 ? settings_.renewal * w / weightSum : 0;
        const int period = settings_.shortestPeriod + i;
        for (int phase = 0; phase < period; ++phase) {
            double& p = odds_[at(i, phase)];
            p = p * keep + spread;
        }
    }
}

void BeatFilter::confirm(double likelihood, int framesAgo, int spread) {
    if (!(likelihood > 0) || !std::isfinite(likelihood)) return;
    // The odds sum to 1 after each step: only the hypotheses weighed change the sum.
    const int n = periods();
    double total = 1;
    for (int i = 0; i < n; ++i) {
        const int period = settings_.shortestPeriod + i;
        const int last = std::min(period - 1, framesAgo + spread);
        for (int phase = std::max(0, framesAgo - spread); phase <= last; ++phase) {
            double& p = odds_[at(i, phase)];
            total += (likelihood - 1) * p;
            p *= likelihood;
        }
    }
    if (total <= 0 || !std::isfinite(total)) {
        std::fill(odds_.begin(), odds_.end(), 1.0 / double(odds_.size()));
        return;
    }
    for (double& p : odds_) p /= total;
}

BeatFilter::Estimate BeatFilter::estimate() const {
    // The likeliest tempo first: the odds of each period over all its phases, with its
    // neighbours (a tempo between two whole periods spreads over both).
    const int n = periods();
    std::vector<double>& byPeriod = ends_;
    for (int i = 0; i < n; ++i) {
        const int period = settings_.shortestPeriod + i;
        double p = 0;
        for (int phase = 0; phase < period; ++phase) p += odds_[at(i, phase)];
        byPeriod[std::size_t(i)] = p;
    }
    int top = 0;
    double topOdds = -1;
    for (int i = 0; i < n; ++i) {
        double p = 0;
        for (int j = std::max(0, i - 1); j <= std::min(n - 1, i + 1); ++j)
            p += byPeriod[std::size_t(j)];
        if (p > topOdds) {
            topOdds = p;
            top = i;
        }
    }
    // Then the next beat of that tempo: the odds of it coming in k frames.
    const int first = std::max(0, top - 2), last = std::min(n - 1, top + 2);
    std::fill(toBeat_.begin(), toBeat_.end(), 0.0);
    double weight = 0, sum = 0;
    for (int i = first; i <= last; ++i) {
        const int period = settings_.shortestPeriod + i;
        for (int phase = 0; phase < period; ++phase)
            toBeat_[std::size_t(period - phase)] += odds_[at(i, phase)];
        weight += byPeriod[std::size_t(i)];
        sum += byPeriod[std::size_t(i)] * period;
    }
    Estimate e;
    int best = 1;
    for (int k = 1; k <= settings_.longestPeriod; ++k) {
        if (toBeat_[std::size_t(k)] > toBeat_[std::size_t(best)]) best = k;
    }
    e.framesToBeat = best;
    e.period = weight > 0 ? sum / weight : settings_.shortestPeriod + top;
    e.certainty = weight;
    return e;
}

}  // namespace lumiere::music
