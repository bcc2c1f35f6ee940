// SPDX-License-Identifier: GPL-3.0-or-later
#include "stats.h"

#include <gtest/gtest.h>

namespace lumiere::sim {
namespace {

constexpr std::int64_t kMs = 1'000'000;

TEST(FrameTiming, SummaryOfKnownIntervals) {
    // 101 frames whose intervals are 1, 2, ..., 100 ms, recorded out of order of size.
    FrameTiming timing;
    std::int64_t now = 5 * kNanosPerSecond;
    timing.record(now);
    for (int step = 100; step >= 1; --step) timing.record(now += step * kMs);

    const auto summary = timing.summary();
    ASSERT_TRUE(summary);
    EXPECT_EQ(timing.frames(), 101U);
    EXPECT_DOUBLE_EQ(summary->medianMs, 50.5);  // mean of the two middle intervals
    EXPECT_NEAR(summary->p99Ms, 99.01, 1e-9);
    EXPECT_DOUBLE_EQ(summary->maxMs, 100.0);
    ASSERT_TRUE(summary->framesPerSecond);
    EXPECT_NEAR(*summary->framesPerSecond, 100.0 / 5.050, 1e-9);  // 100 intervals in 5.05 s

    const std::string text = formatSummary(timing, 4);
    EXPECT_NE(text.find("trames reçues       : 101\n"), std::string::npos) << text;
    EXPECT_NE(text.find("octets parasites    : 4\n"), std::string::npos) << text;
    EXPECT_NE(text.find("trames par seconde  : 19.80\n"), std::string::npos) << text;
    EXPECT_NE(text.find("intervalle médian   : 50.500 ms\n"), std::string::npos) << text;
    EXPECT_NE(text.find("intervalle p99      : 99.010 ms\n"), std::string::npos) << text;
    EXPECT_NE(text.find("intervalle maximal  : 100.000 ms\n"), std::string::npos) << text;
}

TEST(FrameTiming, FewerThanTwoFramesOrNoElapsedTime) {
    FrameTiming timing;
    EXPECT_FALSE(timing.summary());
    timing.record(42);
    EXPECT_FALSE(timing.summary());
    const std::string text = formatSummary(timing, 0);
    EXPECT_NE(text.find("trames reçues       : 1\n"), std::string::npos) << text;
    EXPECT_NE(text.find("intervalle médian   : —"), std::string::npos) << text;

    // Frames decoded from a single read share one timestamp: no rate, but zero intervals.
    timing.record(42);
    const auto summary = timing.summary();
    ASSERT_TRUE(summary);
    EXPECT_FALSE(summary->framesPerSecond);
    EXPECT_EQ(summary->maxMs, 0.0);
}

TEST(FrameTiming, QuantilesOfOneInterval) {
    EXPECT_EQ(quantile({7}, 0.5), 7.0);
    EXPECT_EQ(quantile({7}, 0.99), 7.0);
    EXPECT_EQ(quantile({1, 3}, 0.5), 2.0);
    EXPECT_EQ(quantile({1, 3}, 1.0), 3.0);
}

TEST(RateWindow, CountsOnlyTheLastSecond) {
    RateWindow rate;
    rate.record(0);
    rate.record(500 * kMs);
    rate.record(900 * kMs);
    EXPECT_EQ(rate.perSecond(999 * kMs), 3U);
    EXPECT_EQ(rate.perSecond(kNanosPerSecond), 2U);  // the frame at 0 is exactly 1 s old
    EXPECT_EQ(rate.perSecond(1'900 * kMs), 0U);
}

}  // namespace
}  // namespace lumiere::sim
