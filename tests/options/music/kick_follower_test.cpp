// SPDX-License-Identifier: GPL-3.0-or-later
#include "music/kick_follower.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "music/beat_tracker.h"
#include "support/beat_tracks.h"

using namespace lumiere::music;
using lumiere::test::BeatTrack;

namespace {

// Beats every `period` from 0.25 s for `seconds`; from beat `from` on, `moved(t)` places them.
template <typename Move>
std::vector<double> beatsMovedFrom(double period, double seconds, std::size_t from, Move moved) {
    std::vector<double> beats;
    for (double t = 0.25; t < seconds - 0.05; t += period) beats.push_back(t);
    for (std::size_t k = from; k < beats.size(); ++k) beats[k] = moved(k, beats[k]);
    while (!beats.empty() && beats.back() >= seconds - 0.05) beats.pop_back();
    return beats;
}

struct Followed {
    std::vector<BeatGrid> grids;  // the grid after each block
    std::vector<double> blockEnd;
    std::vector<double> early;  // the kicks handed out as early beats

    // The grid in force at stream time t.
    const BeatGrid& at(double t) const {
        const auto after = std::upper_bound(blockEnd.begin(), blockEnd.end(), t);
        return grids[std::max<std::ptrdiff_t>(0, after - blockEnd.begin() - 1)];
    }
};

// Follows the kicks of `track` from 4 s on, starting on the grid of `period` through its beat
// at 4.25 s.
Followed followKicks(const BeatTrack& track, double period) {
    KickOnsets onsets;
    KickFollower follower;
    Followed out;
    std::optional<BeatGrid> grid;
    constexpr std::size_t kBlock = 256;
    for (std::size_t i = 0; i < track.samples.size(); i += kBlock) {
        const std::size_t n = std::min(kBlock, track.samples.size() - i);
        onsets.feed(std::span<const float>(track.samples.data() + i, n));
        if (onsets.streamTime() < 4.3) continue;
        grid = grid ? follower.follow(*grid, onsets)
                    : follower.restart(BeatGrid{period, 4.25, 0}, onsets);
        if (const std::optional<double> early = follower.takeEarlyKick()) {
            out.early.push_back(*early);
        }
        out.grids.push_back(*grid);
        out.blockEnd.push_back(onsets.streamTime());
    }
    return out;
}

// How far the grid in force just before `beat` is from it.
double missBy(const Followed& followed, double beat) {
    const BeatGrid& grid = followed.at(beat - 0.05);
    return std::abs(std::remainder(beat - grid.anchor, grid.period));
}

}  // namespace

TEST(KickOnsets, PeaksFallOnTheKicksEvenWhenClipped) {
    for (float gain : {1.0f, 4.0f}) {
        const BeatTrack track = gain == 1.0f ? lumiere::test::makeDanceTrack(120, 8)
                                             : lumiere::test::makeClippedTrack(120, 8, gain);
        KickOnsets onsets;
        onsets.feed(track.samples);
        std::vector<KickPeak> peaks;
        for (std::int64_t hop = 0; hop < onsets.hops(); ++hop) {
            if (const auto peak = onsets.peakAt(hop)) peaks.push_back(*peak);
        }
        ASSERT_FALSE(peaks.empty());
        double strongest = 0;
        for (const KickPeak& peak : peaks) strongest = std::max(strongest, peak.strength);
        // Every kick is a strong peak within 4 ms of its onset.
        for (double beat : track.beats) {
            const auto near = std::find_if(peaks.begin(), peaks.end(), [&](const KickPeak& p) {
                return std::abs(p.time - beat) <= 0.004 && p.strength >= 0.3 * strongest;
            });
            EXPECT_NE(near, peaks.end()) << "gain " << gain << ", kick at " << beat;
        }
        // The grid of the kicks stands out of the onsets, the off-beat much less.
        const double background = onsets.combBackground(0.5);
        const double beat = onsets.comb(0.5, 0.25) / background;
        EXPECT_GE(beat, 4.2) << gain;
        EXPECT_LT(onsets.comb(0.5, 0.5) / background, 0.6 * beat) << gain;
    }
}

TEST(KickFollower, OneLooseKickChangesNothing) {
    // The kick of 8.25 s comes 20 ms late.
    const auto beats =
        beatsMovedFrom(0.5, 14, 16, [](std::size_t k, double t) { return k == 16 ? t + 0.02 : t; });
    const Followed followed = followKicks(lumiere::test::makeDanceTrackOn(beats, 14), 0.5);
    EXPECT_LT(missBy(followed, 8.75), 0.003);
    EXPECT_NEAR(followed.at(8.7).period, 0.5, 0.0005);
    EXPECT_NEAR(followed.grids.back().period, 0.5, 0.0002);
    EXPECT_TRUE(followed.early.empty());
}

TEST(KickFollower, ANewTempoIsFollowedFromItsSecondKick) {
    // 120 BPM, then 128 BPM from the kick of 8.25 s: the next kick comes 31 ms early.
    const double faster = 60.0 / 128;
    const auto beats = beatsMovedFrom(
        0.5, 14, 17, [&](std::size_t k, double) { return 8.25 + faster * double(k - 16); });
    const Followed followed = followKicks(lumiere::test::makeDanceTrackOn(beats, 14), 0.5);
    // The first early kick is handed out as the beat it is.
    ASSERT_FALSE(followed.early.empty());
    EXPECT_NEAR(followed.early.front(), beats[17], 0.003);
    // From the third kick of the new tempo on, the grid is on it.
    for (std::size_t k = 19; k < beats.size(); ++k) {
        EXPECT_LT(missBy(followed, beats[k]), 0.005) << "beat " << k;
    }
    EXPECT_NEAR(followed.at(beats[19] - 0.05).period, faster, 0.005);
    EXPECT_NEAR(followed.grids.back().period, faster, 0.0003);
}

TEST(KickFollower, ABeatThatMovesKeepsItsTempo) {
    // From 8.25 s on, every kick comes 40 ms later: the same tempo on another beat.
    const auto beats = beatsMovedFrom(0.5, 14, 16, [](std::size_t, double t) { return t + 0.04; });
    const Followed followed = followKicks(lumiere::test::makeDanceTrackOn(beats, 14), 0.5);
    for (std::size_t k = 18; k < beats.size(); ++k) {
        EXPECT_LT(missBy(followed, beats[k]), 0.004) << "beat " << k;
    }
    EXPECT_NEAR(followed.grids.back().period, 0.5, 0.0005);
    EXPECT_TRUE(followed.early.empty());
}
