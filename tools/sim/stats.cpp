// SPDX-License-Identifier: GPL-3.0-or-later
#include "stats.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace lumiere::sim {

namespace {

constexpr double kNanosPerMilli = 1e6;

std::string formatted(const char* format, double value) {
    char text[64];
    std::snprintf(text, sizeof text, format, value);
    return text;
}

}  // namespace

double quantile(const std::vector<std::int64_t>& sorted, double q) {
    const double position = std::clamp(q, 0.0, 1.0) * static_cast<double>(sorted.size() - 1);
    const auto below = static_cast<std::size_t>(std::floor(position));
    const auto above = static_cast<std::size_t>(std::ceil(position));
    const double fraction = position - static_cast<double>(below);
    const auto low = static_cast<double>(sorted[below]);
    const auto high = static_cast<double>(sorted[above]);
    return low + (high - low) * fraction;
}

void FrameTiming::record(std::int64_t ns) {
    if (frames_ == 0) {
        first_ = ns;
    } else {
        intervals_.push_back(ns - last_);
    }
    last_ = ns;
    ++frames_;
}

std::optional<IntervalSummary> FrameTiming::summary() const {
    if (intervals_.empty()) return std::nullopt;

    std::vector<std::int64_t> sorted = intervals_;
    std::sort(sorted.begin(), sorted.end());

    IntervalSummary result;
    const std::int64_t span = last_ - first_;
    if (span > 0) {
        result.framesPerSecond = static_cast<double>(intervals_.size()) *
                                 static_cast<double>(kNanosPerSecond) / static_cast<double>(span);
    }
    result.medianMs = quantile(sorted, 0.5) / kNanosPerMilli;
    result.p99Ms = quantile(sorted, 0.99) / kNanosPerMilli;
    result.maxMs = static_cast<double>(sorted.back()) / kNanosPerMilli;
    return result;
}

void RateWindow::record(std::int64_t ns) {
    times_.push_back(ns);
    dropOlderThan(ns);
}

std::size_t RateWindow::perSecond(std::int64_t nowNs) {
    dropOlderThan(nowNs);
    return times_.size();
}

void RateWindow::dropOlderThan(std::int64_t nowNs) {
    while (!times_.empty() && times_.front() <= nowNs - kNanosPerSecond) times_.pop_front();
}

std::string formatSummary(const FrameTiming& timing, std::uint64_t strays) {
    const std::optional<IntervalSummary> summary = timing.summary();
    const std::string none = "— (moins de deux trames)";

    std::string text = "Résumé\n";
    text += "  trames reçues       : " + std::to_string(timing.frames()) + "\n";
    text += "  octets parasites    : " + std::to_string(strays) + "\n";
    text += "  trames par seconde  : ";
    if (!summary) {
        text += none;
    } else if (!summary->framesPerSecond) {
        text += "— (toutes les trames au même instant)";
    } else {
        text += formatted("%.2f", *summary->framesPerSecond);
    }
    text += "\n";
    text += "  intervalle médian   : " + (summary ? formatted("%.3f ms", summary->medianMs) : none);
    text += "\n";
    text += "  intervalle p99      : " + (summary ? formatted("%.3f ms", summary->p99Ms) : none);
    text += "\n";
    text += "  intervalle maximal  : " + (summary ? formatted("%.3f ms", summary->maxMs) : none);
    text += "\n";
    return text;
}

}  // namespace lumiere::sim
