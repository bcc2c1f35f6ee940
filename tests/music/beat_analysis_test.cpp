#include "music/beat_analysis.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "support/beat_scoring.h"
#include "support/beat_tracks.h"

using namespace lumiere::music;
using lumiere::testing::BeatTrack;
using lumiere::testing::scoreBeats;

namespace {

struct Followed {
    std::vector<double> beats;
    std::vector<double> bpmAt;  // the tempo shown after each block
    std::vector<double> blockEnd;
    double maxLatency = 0;  // how long after its time a beat was given, in seconds
};

Followed follow(const BeatTrack& track, std::size_t block) {
    BeatAnalysis analysis;
    AnalysisResult result;
    Followed out;
    for (std::size_t i = 0; i < track.samples.size(); i += block) {
        const std::size_t n = std::min(block, track.samples.size() - i);
        analysis.process(std::span<const float>(track.samples.data() + i, n), result);
        for (double beat : result.beats) {
            out.beats.push_back(beat);
            out.maxLatency = std::max(out.maxLatency, analysis.streamTime() - beat);
        }
        out.bpmAt.push_back(result.bpm);
        out.blockEnd.push_back(analysis.streamTime());
    }
    return out;
}

double shortestInterval(const std::vector<double>& beats) {
    double shortest = 1e9;
    for (std::size_t i = 1; i < beats.size(); ++i)
        shortest = std::min(shortest, beats[i] - beats[i - 1]);
    return shortest;
}

}  // namespace

TEST(BeatTracker, BeatsAreTheirPlaceInTheStreamWhateverTheBlockSize) {
    const BeatTrack track = lumiere::testing::makeDanceTrack(120, 8);
    std::vector<double> whole, small;
    BeatTracker a, b;
    a.feed(track.samples, whole);
    for (std::size_t i = 0; i < track.samples.size(); i += 37) {
        b.feed(std::span<const float>(track.samples)
                   .subspan(i, std::min<std::size_t>(37, track.samples.size() - i)),
               small);
    }
    ASSERT_GE(whole.size(), 8u);
    EXPECT_EQ(whole, small);
    EXPECT_DOUBLE_EQ(a.streamTime(), track.seconds());
    const auto score = scoreBeats(track.beats, whole, 4.0, track.seconds());
    EXPECT_GE(score.foundShare(), 0.9);
}

TEST(BeatTracker, LevelAndSensitivity) {
    std::vector<float> sine(4410);
    for (std::size_t i = 0; i < sine.size(); ++i) sine[i] = 0.5f * std::sin(0.1f * float(i));
    const Level level = measureLevel(sine);
    EXPECT_NEAR(level.rms, 0.5 / std::sqrt(2.0), 0.01);
    EXPECT_NEAR(level.peak, 0.5, 0.001);
    EXPECT_EQ(measureLevel({}).peak, 0.0f);
    std::vector<float> loud{3.0f, -4.0f};
    EXPECT_EQ(measureLevel(loud).peak, 1.0f);

    EXPECT_FLOAT_EQ(sensitivityThresholds(5).silenceDb, -90.0f);
    EXPECT_FLOAT_EQ(sensitivityThresholds(5).peakPick, 0.3f);
    EXPECT_FLOAT_EQ(sensitivityThresholds(1).silenceDb, -66.0f);
    EXPECT_FLOAT_EQ(sensitivityThresholds(10).silenceDb, -120.0f);
    EXPECT_FLOAT_EQ(sensitivityThresholds(0).silenceDb, -66.0f);  // clamped
    EXPECT_GT(sensitivityThresholds(1).peakPick, sensitivityThresholds(10).peakPick);
    BeatTracker tracker(42);
    EXPECT_EQ(tracker.sensitivity(), kMaxSensitivity);
}

TEST(BeatAnalysis, FollowsDanceMusicOnTimeWithTheRightTempo) {
    for (double bpm : {90.0, 174.0}) {
        const BeatTrack track = lumiere::testing::makeDanceTrack(bpm, 16);
        const Followed followed = follow(track, 441);
        const auto score = scoreBeats(track.beats, followed.beats, 4.0, track.seconds());
        EXPECT_GE(score.foundShare(), 0.95) << bpm;
        EXPECT_LT(score.extraShare(), 0.05) << bpm;
        EXPECT_NEAR(followed.bpmAt.back(), bpm, 0.5);
        // Beats come within one block (10 ms) of their time, never a beat late.
        EXPECT_LE(followed.maxLatency, 0.011) << bpm;
    }
}

TEST(BeatAnalysis, FindsTheNewTempoAfterAStep) {
    const BeatTrack track = lumiere::testing::makeTempoStepTrack(120, 128, 24);
    const Followed followed = follow(track, 512);
    EXPECT_NEAR(followed.bpmAt.back(), 128.0, 0.5);
    const double change = track.seconds() / 2;
    const auto after = scoreBeats(track.beats, followed.beats, change + 6, track.seconds());
    EXPECT_GE(after.foundShare(), 0.95);
}

TEST(BeatAnalysis, NoBeatInSilenceOrNoiseAndNoStormFromFastOrClippedInput) {
    const Followed silence = follow(lumiere::testing::makeSilence(10), 256);
    EXPECT_TRUE(silence.beats.empty());
    EXPECT_EQ(silence.bpmAt.back(), 0.0);

    const Followed noise = follow(lumiere::testing::makeWhiteNoise(20), 256);
    EXPECT_LE(noise.beats.size(), 3u);

    const BeatTrack clicks = lumiere::testing::makeClickTrack(300, 12);
    const Followed fast = follow(clicks, 256);
    EXPECT_GE(shortestInterval(fast.beats), 0.29);  // the clock keeps within 200 BPM
    EXPECT_FALSE(fast.beats.empty());

    const BeatTrack clipped = lumiere::testing::makeClippedTrack(120, 12);
    const Followed saturated = follow(clipped, 256);
    EXPECT_GE(shortestInterval(saturated.beats), 0.29);
    const auto score = scoreBeats(clipped.beats, saturated.beats, 4.0, clipped.seconds());
    EXPECT_LT(score.extraShare(), 0.05);
}
