#include "music/tempo_fit.h"

#include <gtest/gtest.h>

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
