// SPDX-License-Identifier: GPL-3.0-or-later
#include "music/tap_tempo.h"

#include <gtest/gtest.h>

using namespace std::chrono_literals;
using lumiere::music::MusicClock;
using lumiere::music::TapTempo;

namespace {

MusicClock::time_point at(std::chrono::milliseconds ms) {
    return MusicClock::time_point{} + ms;
}

void tapEvery(TapTempo& tempo, std::chrono::milliseconds first, std::chrono::milliseconds period,
              int taps) {
    for (int i = 0; i < taps; ++i) tempo.tap(at(first + i * period));
}

}  // namespace

TEST(TapTempo, FourTapsSetTheTempoAndBeatsFollowInPhaseWithTheLastTap) {
    TapTempo tempo;
    tapEvery(tempo, 1000ms, 500ms, 3);
    EXPECT_FALSE(tempo.bpm());
    EXPECT_FALSE(tempo.takeBeat(at(5000ms)));
    tempo.tap(at(2500ms));
    ASSERT_TRUE(tempo.bpm());
    EXPECT_NEAR(*tempo.bpm(), 120.0, 0.01);
    EXPECT_EQ(tempo.nextBeatAfter(at(2500ms)), at(3000ms));
    EXPECT_FALSE(tempo.takeBeat(at(2999ms)));  // the last tap was the beat of its moment
    EXPECT_EQ(tempo.takeBeat(at(3001ms)), at(3000ms));
    EXPECT_FALSE(tempo.takeBeat(at(3100ms)));
    // A window busy for two seconds gets the latest beat only, not a burst.
    EXPECT_EQ(tempo.takeBeat(at(5100ms)), at(5000ms));
    EXPECT_FALSE(tempo.takeBeat(at(5100ms)));
}

TEST(TapTempo, UnevenTapsAreFittedAndAPauseStartsANewSeries) {
    TapTempo tempo;
    // 100 BPM (600 ms) tapped with ±20 ms of error and one missed tap.
    for (int ms : {0, 620, 1190, 1810, 3000, 3590, 4210})
        tempo.tap(at(std::chrono::milliseconds(ms)));
    ASSERT_TRUE(tempo.bpm());
    EXPECT_NEAR(*tempo.bpm(), 100.0, 1.0);
    // After a pause, the old tempo stays until the new series has four taps.
    tapEvery(tempo, 10000ms, 400ms, 3);
    EXPECT_NEAR(*tempo.bpm(), 100.0, 1.0);
    tempo.tap(at(11200ms));
    EXPECT_NEAR(*tempo.bpm(), 150.0, 0.01);
    tempo.clear();
    EXPECT_FALSE(tempo.bpm());
    EXPECT_FALSE(tempo.nextBeatAfter(at(12000ms)));
}
