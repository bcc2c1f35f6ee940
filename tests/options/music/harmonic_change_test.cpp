// SPDX-License-Identifier: GPL-3.0-or-later
// The harmony's change, and how it tells the beat hypotheses apart where the onsets cannot.
#include "music/harmonic_change.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <vector>

#include "music/beat_filter.h"
#include "music/beat_tracker.h"
#include "music/onset_flux.h"

using namespace lumiere::music;

namespace {

// A chord of sine tones (Hz) for `seconds`, at `level`, appended to `out`.
void addChord(std::vector<float>& out, std::initializer_list<double> tones, double seconds,
              double level = 0.1) {
    const auto count = static_cast<std::size_t>(seconds * kSampleRate);
    const std::size_t start = out.size();
    out.resize(start + count, 0.0f);
    for (double hz : tones)
        for (std::size_t i = 0; i < count; ++i)
            out[start + i] += static_cast<float>(
                level * std::sin(2 * std::numbers::pi * hz * double(start + i) / kSampleRate));
}

std::vector<float> changesOf(const std::vector<float>& samples) {
    HarmonicChange harmony;
    std::vector<float> changes;
    for (std::size_t i = 0; i < samples.size(); i += 300)
        harmony.feed(std::span<const float>(samples).subspan(
                         i, std::min<std::size_t>(300, samples.size() - i)),
                     changes);
    return changes;
}

}  // namespace

TEST(HarmonicChange, AChordThatChangesIsSeenWhereItChangesAndNotWhereItGetsLouder) {
    // C major for 2 s, the same chord twice as loud for 2 s, then F major for 2 s.
    std::vector<float> samples;
    addChord(samples, {261.6, 329.6, 392.0}, 2.0);
    addChord(samples, {261.6, 329.6, 392.0}, 2.0, 0.2);
    addChord(samples, {349.2, 440.0, 523.3}, 2.0);
    const std::vector<float> changes = changesOf(samples);
    ASSERT_EQ(changes.size(), samples.size() / kFrameHop);  // one value per frame of the onsets

    // The value given at frame n is the change at frame n - delayFrames().
    const int delay = HarmonicChange::delayFrames();
    auto changeAt = [&](double seconds) {
        const auto frame = static_cast<std::ptrdiff_t>(seconds / OnsetFlux::frameSeconds());
        float most = 0;
        for (std::ptrdiff_t n = frame - 2; n <= frame + 2; ++n)
            most = std::max(most, changes[std::size_t(n + delay)]);
        return most;
    };
    EXPECT_GT(changeAt(4.0), 0.3f);   // C → F
    EXPECT_LT(changeAt(2.0), 0.02f);  // the same chord, louder
    EXPECT_LT(changeAt(3.0), 0.02f);  // a held chord
    EXPECT_LT(changeAt(5.0), 0.02f);
    // The peak of the change is at the change, within two frames.
    const auto peak = std::max_element(changes.begin(), changes.end()) - changes.begin() - delay;
    EXPECT_NEAR(double(peak) * OnsetFlux::frameSeconds(), 4.0, 2 * OnsetFlux::frameSeconds());

    // Silence, and a single sine, change nothing; nor does garbage in the stream.
    std::vector<float> quiet(2 * kSampleRate, 0.0f);
    quiet[1000] = std::nanf("");
    quiet[2000] = 1e30f;
    for (float c : changesOf(quiet)) EXPECT_LE(c, 1.0f);
    std::vector<float> sine;
    addChord(sine, {440.0}, 3.0);
    const std::vector<float> steady = changesOf(sine);
    EXPECT_LT(*std::max_element(steady.begin() + 3 * delay, steady.end()), 0.02f);
}

TEST(BeatFilter, LateEvidenceTellsTheBeatFromTheOffBeatThatSoundsAsLoud) {
    // Onsets as loud on the beat as half-way between (eighth notes); at a period of 40 frames,
    // the only tempo allowed. Only the late confirmations of the beats tell where the beat is:
    // on phase 0, or, told the other way, on phase 20.
    const int period = 40, delay = HarmonicChange::delayFrames();
    for (int beat : {0, 20}) {
        BeatFilter filter;
        std::vector<double> weights(std::size_t(filter.periods()), 1e-3);
        weights[std::size_t(period - 25)] = 1;
        int predicted = -1;
        for (int n = 0; n < 16 * period; ++n) {
            filter.step(n % (period / 2) == 0 ? 0.8 : 0.0, weights);
            if (n >= delay && (n - delay) % period == beat) filter.confirm(2.0, delay, 1);
            const BeatFilter::Estimate e = filter.estimate();
            predicted = (n + e.framesToBeat) % period;
        }
        EXPECT_NEAR(predicted, beat, 1) << "beat on phase " << beat;
    }
}
