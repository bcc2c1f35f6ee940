// SPDX-License-Identifier: GPL-3.0-or-later
#include "music/beat_follower.h"

#include <gtest/gtest.h>

using namespace std::chrono_literals;
using lumiere::music::BeatFollower;
using lumiere::music::FollowState;
using lumiere::music::MusicClock;

namespace {

MusicClock::time_point at(std::chrono::milliseconds ms) {
    return MusicClock::time_point{} + ms;
}

// Steps taken by `follower` for beats every `beatPeriod` and ticks every `tickPeriod`, over
// [from, until).
int stepsOver(BeatFollower& follower, std::chrono::milliseconds from,
              std::chrono::milliseconds until, std::chrono::milliseconds beatPeriod,
              std::chrono::milliseconds tickPeriod) {
    int steps = 0;
    for (auto t = from; t < until; t += 1ms) {
        if (beatPeriod > 0ms && (t - from) % beatPeriod == 0ms && follower.beat(at(t))) ++steps;
        if ((t - from) % tickPeriod == 0ms && follower.tick(at(t))) ++steps;
    }
    return steps;
}

}  // namespace

TEST(BeatFollower, BeatsStepTheEffectAndTicksDoNothingWhileTheyCome) {
    BeatFollower follower;
    EXPECT_EQ(follower.state(at(0ms)), FollowState::Fallback);
    // 120 BPM for 10 s with a 50 ms timer: 20 steps, one per beat.
    EXPECT_EQ(stepsOver(follower, 0ms, 10000ms, 500ms, 50ms), 20);
    EXPECT_EQ(follower.state(at(10000ms)), FollowState::Following);
}

TEST(BeatFollower, NoTwoStepsWithin150MsWhateverTheInput) {
    BeatFollower follower;
    // 300 BPM (200 ms) steps on every beat; a storm of beats every 10 ms steps every 150 ms.
    EXPECT_EQ(stepsOver(follower, 0ms, 2000ms, 200ms, 1000ms), 10);
    follower.reset();
    EXPECT_EQ(stepsOver(follower, 0ms, 1500ms, 10ms, 1000ms), 10);
    // Without beats the timer keeps the master's interval, however short.
    follower.reset();
    EXPECT_EQ(stepsOver(follower, 0ms, 1500ms, 0ms, 15ms), 100);
}

TEST(BeatFollower, FallsBackToTheTimerTwoSecondsAfterTheLastBeatAndBeatsTakeOverAgain) {
    BeatFollower follower;
    EXPECT_TRUE(follower.tick(at(0ms)));  // no beat yet: the timer steps
    EXPECT_TRUE(follower.beat(at(1000ms)));
    EXPECT_FALSE(follower.tick(at(1500ms)));
    EXPECT_FALSE(follower.tick(at(2999ms)));
    EXPECT_EQ(follower.state(at(2999ms)), FollowState::Following);
    EXPECT_EQ(follower.state(at(3000ms)), FollowState::Fallback);
    EXPECT_TRUE(follower.tick(at(3000ms)));
    EXPECT_TRUE(follower.tick(at(3200ms)));
    // The beat comes back: it steps (150 ms after the last tick) and the ticks stop again.
    EXPECT_TRUE(follower.beat(at(3350ms)));
    EXPECT_EQ(follower.state(at(3350ms)), FollowState::Following);
    EXPECT_FALSE(follower.tick(at(3400ms)));
}

TEST(BeatFollower, ABeatTooSoonAfterATickStillCountsAsABeat) {
    BeatFollower follower;
    EXPECT_TRUE(follower.tick(at(0ms)));
    EXPECT_FALSE(follower.beat(at(100ms)));  // too close to the tick's step
    EXPECT_FALSE(follower.tick(at(200ms)));  // but the beats now lead
    EXPECT_EQ(follower.state(at(200ms)), FollowState::Following);
}
