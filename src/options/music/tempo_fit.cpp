// SPDX-License-Identifier: GPL-3.0-or-later
#include "music/tempo_fit.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace lumiere::music {

namespace {

constexpr std::size_t kGlideTimes = 6;
constexpr std::size_t kJudgedTimes = 3;
// Fits that foretell within this much (seconds) of the best are as good: the steadier is taken.
constexpr double kForetoldSlack = 0.0015;

double median(std::vector<double> values) {
    const auto middle = values.begin() + static_cast<std::ptrdiff_t>(values.size() / 2);
    std::nth_element(values.begin(), middle, values.end());
    return *middle;
}

}  // namespace

double BeatGrid::nextAfter(double t) const {
    double next = anchor + std::floor((t - anchor) / period + 1.0) * period;
    if (next <= t) next += period;
    return next;
}

std::optional<double> typicalInterval(std::span<const double> times, double reference) {
    if (times.size() < 2) return std::nullopt;
    std::vector<double> raw, folded;
    for (std::size_t i = 1; i < times.size(); ++i) {
        const double interval = times[i] - times[i - 1];
        if (interval <= 0) continue;
        raw.push_back(interval);
        if (reference <= 0 || interval < reference / 2) continue;
        const double multiple = std::round(interval / reference);
        if (std::abs(interval / multiple - reference) <= 0.15 * reference) {
            folded.push_back(interval / multiple);
        }
    }
    if (raw.empty()) return std::nullopt;
    if (folded.size() * 2 > raw.size()) return median(folded);
    return median(raw);
}

std::optional<BeatGrid> fitGrid(std::span<const double> times, double period, int minimumUsed) {
    if (times.empty() || period <= 0) return std::nullopt;
    const double last = times.back();
    BeatGrid grid{period, last, 0};
    // Two passes: the first grid (from the given period) picks the times that fit, the second
    // refits on the refined grid.
    for (int pass = 0; pass < 2; ++pass) {
        std::vector<double> indices, fitted;
        double lastResidual = 0;
        for (auto it = times.rbegin(); it != times.rend(); ++it) {
            const double index = std::round((*it - grid.anchor) / grid.period);
            const double residual = *it - grid.anchor - index * grid.period;
            if (std::abs(residual) > grid.period / 4) continue;
            if (!indices.empty() && indices.back() == index) {
                // Two times for one grid beat: the nearer one stays.
                if (std::abs(residual) >= std::abs(lastResidual)) continue;
                indices.pop_back();
                fitted.pop_back();
            }
            lastResidual = residual;
            indices.push_back(index);
            fitted.push_back(*it);
        }
        if (static_cast<int>(fitted.size()) < std::max(minimumUsed, 2)) return std::nullopt;
        double meanIndex = 0, meanTime = 0;
        for (std::size_t i = 0; i < fitted.size(); ++i) {
            meanIndex += indices[i];
            meanTime += fitted[i];
        }
        meanIndex /= double(fitted.size());
        meanTime /= double(fitted.size());
        double covariance = 0, variance = 0;
        for (std::size_t i = 0; i < fitted.size(); ++i) {
            covariance += (indices[i] - meanIndex) * (fitted[i] - meanTime);
            variance += (indices[i] - meanIndex) * (indices[i] - meanIndex);
        }
        if (variance <= 0) return std::nullopt;
        const double slope = covariance / variance;
        if (slope <= 0) return std::nullopt;
        const double origin = meanTime - slope * meanIndex;  // fitted time of index 0
        grid = BeatGrid{slope, origin, static_cast<int>(fitted.size())};
    }
    // The anchor is the grid beat nearest to the last time.
    grid.anchor += std::round((last - grid.anchor) / grid.period) * grid.period;
    return grid;
}

std::optional<BeatGrid> fitGlide(std::span<const double> times, double period) {
    if (times.size() < 3 || period <= 0) return std::nullopt;
    // Index of each time, counted back from the last one (0).
    std::vector<double> x(times.size());
    for (std::size_t i = times.size() - 1; i-- > 0;) {
        x[i] = x[i + 1] - std::max(1.0, std::round((times[i + 1] - times[i]) / period));
    }
    // Least squares for t = a + b·x + c·x²: the normal equations, solved by Cramer's rule.
    double s[5] = {}, r[3] = {};
    for (std::size_t i = 0; i < times.size(); ++i) {
        double power = 1;
        for (int j = 0; j < 5; ++j, power *= x[i]) {
            s[j] += power;
            if (j < 3) r[j] += power * times[i];
        }
    }
    auto det = [](double a, double b, double c, double d, double e, double f, double g, double h,
                  double i) {
        return a * (e * i - f * h) - b * (d * i - f * g) + c * (d * h - e * g);
    };
    const double d = det(s[0], s[1], s[2], s[1], s[2], s[3], s[2], s[3], s[4]);
    if (std::abs(d) < 1e-12) return std::nullopt;
    const double a = det(r[0], s[1], s[2], r[1], s[2], s[3], r[2], s[3], s[4]) / d;
    const double b = det(s[0], r[0], s[2], s[1], r[1], s[3], s[2], r[2], s[4]) / d;
    const double c = det(s[0], s[1], r[0], s[1], s[2], r[1], s[2], s[3], r[2]) / d;
    if (b + c <= 0) return std::nullopt;
    return BeatGrid{b + c, a, static_cast<int>(times.size())};
}

std::optional<BeatGrid> fitRecent(std::span<const double> times, double period) {
    auto fit = [period](std::span<const double> part, bool glide) {
        return glide ? fitGlide(part, period) : fitGrid(part, period, int(part.size()));
    };
    // How well the fits of the last n times, line or parabola, foretold each of the last three
    // times from the n before it (mean distance, seconds).
    auto foretold = [&](std::size_t n, bool glide) -> std::optional<double> {
        const std::size_t count = times.size();
        double error = 0;
        int judged = 0;
        for (std::size_t j = std::max(n, count - std::min(count, kJudgedTimes)); j < count; ++j) {
            const std::optional<BeatGrid> before = fit(times.subspan(j - n, n), glide);
            if (!before) return std::nullopt;
            error += std::abs(std::remainder(times[j] - before->anchor, before->period));
            ++judged;
        }
        if (judged < 2) return std::nullopt;
        return error / judged;
    };
    struct Choice {
        std::size_t n;
        bool glide;
        double error;
    };
    std::vector<Choice> choices;
    double best = 1e9;
    for (bool glide : {false, true}) {
        for (std::size_t n = glide ? kGlideTimes : 3; n + 2 <= times.size(); ++n) {
            if (const std::optional<double> error = foretold(n, glide)) {
                choices.push_back({n, glide, *error});
                best = std::min(best, *error);
            }
        }
    }
    // Among the fits that foretold nearly as well as the best, a line rather than a parabola,
    // and the most times (the least jitter).
    const Choice* chosen = nullptr;
    for (const Choice& c : choices) {
        if (c.error > best + kForetoldSlack) continue;
        if (!chosen || (chosen->glide && !c.glide) ||
            (chosen->glide == c.glide && c.n > chosen->n)) {
            chosen = &c;
        }
    }
    if (chosen) {
        if (std::optional<BeatGrid> grid = fit(times.last(chosen->n), chosen->glide)) return grid;
    }
    return fitGrid(times, period, int(times.size()));
}

}  // namespace lumiere::music
