// SPDX-License-Identifier: GPL-3.0-or-later
#include "music/beat_source.h"

#include <algorithm>
#include <cmath>

namespace lumiere::music {

namespace {
constexpr std::size_t kLevelSamples = kSampleRate / 20;  // 50 ms
}

bool BeatSource::start(const SourceInfo& source, BeatListener listener, int sensitivity) {
    capture_.stop();
    listener_ = std::move(listener);
    sourceName_ = source.description;
    sensitivity_.store(sensitivity);
    analysis_ = std::make_unique<BeatAnalysis>(sensitivity);
    shownBpm_ = 0;
    levelSquares_ = 0;
    levelPeak_ = 0;
    levelSamples_ = 0;
    return capture_.start(
        source.id, [this](const CaptureBlock& b) { block(b); },
        [this](MusicError error) {
            if (listener_.onError) listener_.onError(error, describeMusicError(error, sourceName_));
        });
}

void BeatSource::block(const CaptureBlock& block) {
    const int sensitivity = sensitivity_.load();
    if (sensitivity != analysis_->sensitivity()) analysis_->setSensitivity(sensitivity);
    analysis_->process(block.samples, result_);

    const double blockEnd = analysis_->streamTime();
    for (double beat : result_.beats) {
        const auto before = std::chrono::duration_cast<MusicClock::duration>(
            std::chrono::duration<double>(blockEnd - beat));
        if (listener_.onBeat)
            listener_.onBeat(BeatEvent{beat, block.capturedEnd - before, result_.bpm});
    }
    if (std::abs(result_.bpm - shownBpm_) >= 0.1 || (result_.bpm == 0) != (shownBpm_ == 0)) {
        shownBpm_ = result_.bpm;
        if (listener_.onTempo) listener_.onTempo(shownBpm_);
    }
    for (float sample : block.samples) {
        levelSquares_ += double(sample) * sample;
        levelPeak_ = std::max(levelPeak_, std::abs(sample));
    }
    levelSamples_ += block.samples.size();
    if (levelSamples_ >= kLevelSamples) {
        const auto rms = static_cast<float>(std::sqrt(levelSquares_ / double(levelSamples_)));
        if (listener_.onLevel)
            listener_.onLevel(Level{std::min(rms, 1.0f), std::min(levelPeak_, 1.0f)});
        levelSquares_ = 0;
        levelPeak_ = 0;
        levelSamples_ = 0;
    }
}

}  // namespace lumiere::music
