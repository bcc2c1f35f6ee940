#include "music/tempo_fit.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace lumiere::music {

namespace {

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

}  // namespace lumiere::music
