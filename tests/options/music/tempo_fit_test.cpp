// SPDX-License-Identifier: GPL-3.0-or-later
#include "music/tempo_fit.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

using lumiere::music::fitGrid;
using lumiere::music::typicalInterval;

TEST(TempoFit, MissedAndExtraBeatsDoNotMoveTheGrid) {
    // 120 BPM with one beat missing (1.5), one extra off-beat (2.26) and ±3 ms of jitter.
    const std::vector<double> times{0.002, 0.499, 1.003, 2.0, 2.26, 2.498, 3.003, 3.5, 3.997};
    const auto interval = typicalInterval(times, 0.5);
    ASSERT_TRUE(interval);
    EXPECT_NEAR(*interval, 0.5, 0.01);
    const auto grid = fitGrid(times, *interval);
    ASSERT_TRUE(grid);
    EXPECT_NEAR(grid->bpm(), 120.0, 0.2);
    EXPECT_NEAR(grid->anchor, 4.0, 0.003);
    EXPECT_EQ(grid->used, 8);
    EXPECT_NEAR(grid->nextAfter(4.1), 4.5, 0.005);
    EXPECT_NEAR(grid->nextAfter(4.0), 4.5, 0.005);
}

TEST(TempoFit, IntervalsFoldOnTheReferenceUnlessTheTempoHasChanged) {
    // A tracker at half tempo gives intervals of two reference periods.
    const std::vector<double> half{0.0, 0.69, 1.38, 2.07, 2.76};
    EXPECT_NEAR(*typicalInterval(half, 0.345), 0.345, 0.001);
    // Intervals that fit no multiple of the reference: the reference is dropped.
    const std::vector<double> slower{0.0, 0.667, 1.333, 2.0, 2.667};
    EXPECT_NEAR(*typicalInterval(slower, 0.5), 0.667, 0.001);
    EXPECT_FALSE(typicalInterval(std::vector<double>{1.0}));
    EXPECT_FALSE(fitGrid(std::vector<double>{1.0, 1.5}, 0.5));
    EXPECT_FALSE(fitGrid(std::vector<double>{}, 0.5));
}

namespace {

// Beat times whose interval changes by `change` seconds per beat from `period`, from t = 1.
std::vector<double> gliding(double period, double change, int count) {
    std::vector<double> times{1.0};
    for (int k = 1; k < count; ++k) times.push_back(times.back() + period + change * (k - 1));
    return times;
}

}  // namespace

TEST(TempoFit, GlideGivesTheNextIntervalOfATempoThatGlides) {
    // 120 BPM slowing by 2 ms per beat.
    const std::vector<double> times = gliding(0.5, 0.002, 10);
    const auto glide = lumiere::music::fitGlide(times, 0.5);
    ASSERT_TRUE(glide);
    EXPECT_NEAR(glide->period, 0.5 + 0.002 * 9, 1e-6);
    EXPECT_NEAR(glide->anchor, times.back(), 1e-6);
    EXPECT_FALSE(lumiere::music::fitGlide(std::vector<double>{1.0, 1.5}, 0.5));
}

TEST(TempoFit, RecentFitIsTheLongestLineWhileTheTempoHolds) {
    // 16 kicks at 120 BPM, ±1 ms of jitter: every kick is used, the period stays exact.
    std::vector<double> steady;
    for (int k = 0; k < 16; ++k) steady.push_back(2.0 + 0.5 * k + (k % 3 - 1) * 0.001);
    const auto grid = lumiere::music::fitRecent(steady, 0.5);
    ASSERT_TRUE(grid);
    EXPECT_GE(grid->used, 13);
    EXPECT_NEAR(grid->period, 0.5, 0.0002);
}

TEST(TempoFit, RecentFitFollowsAGlideAndSettlesAfterIt) {
    // Gliding: the next kick is foretold within a millisecond, where a line lags behind.
    std::vector<double> times = gliding(0.5, -0.002, 14);
    const double next = times.back() + 0.5 - 0.002 * 13;
    const auto glide = lumiere::music::fitRecent(times, 0.5);
    ASSERT_TRUE(glide);
    EXPECT_NEAR(glide->nextAfter(times.back()), next, 0.001);
    const auto line = lumiere::music::fitGrid(times, (times.back() - times.front()) / 13, 14);
    ASSERT_TRUE(line);
    EXPECT_GT(std::abs(line->nextAfter(times.back()) - next), 0.005);

    // Steady again for five kicks: a short line over them, not the parabola that would go on
    // bending.
    const double settled = 0.5 - 0.002 * 13;
    for (int k = 0; k < 5; ++k) times.push_back(times.back() + settled);
    const auto after = lumiere::music::fitRecent(times, settled);
    ASSERT_TRUE(after);
    EXPECT_NEAR(after->period, settled, 0.001);
    EXPECT_NEAR(after->nextAfter(times.back()), times.back() + settled, 0.002);
}
