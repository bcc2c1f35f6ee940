// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <deque>
#include <optional>
#include <string>
#include <vector>

namespace lumiere::sim {

inline constexpr std::int64_t kNanosPerSecond = 1'000'000'000;

// Value at quantile q (0..1) of an ascending sequence, interpolating linearly between the two
// nearest ranks, so the median of an even count is the mean of the two middle values.
// The sequence must not be empty.
double quantile(const std::vector<std::int64_t>& sorted, double q);

// What the timing of a run of frames looks like, in the units printed to the user.
struct IntervalSummary {
    // Frame rate over the span from the first to the last frame: n frames make n - 1 intervals.
    // Empty when every frame arrived at the same instant.
    std::optional<double> framesPerSecond;
    double medianMs = 0;
    double p99Ms = 0;
    double maxMs = 0;
};

// Collects the arrival times of frames (CLOCK_MONOTONIC nanoseconds, never decreasing) and the
// intervals between them.
class FrameTiming {
public:
    void record(std::int64_t ns);

    std::uint64_t frames() const { return frames_; }

    // Empty with fewer than two frames: there is no interval to describe.
    std::optional<IntervalSummary> summary() const;

private:
    std::uint64_t frames_ = 0;
    std::int64_t first_ = 0;
    std::int64_t last_ = 0;
    std::vector<std::int64_t> intervals_;
};

// Frame rate over the last second, for the live display.
class RateWindow {
public:
    void record(std::int64_t ns);

    // Frames received in the second ending at `nowNs`.
    std::size_t perSecond(std::int64_t nowNs);

private:
    void dropOlderThan(std::int64_t nowNs);

    std::deque<std::int64_t> times_;
};

// The report printed when the simulator stops, one "label : value" line each.
std::string formatSummary(const FrameTiming& timing, std::uint64_t strays);

}  // namespace lumiere::sim
