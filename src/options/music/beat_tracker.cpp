// SPDX-License-Identifier: GPL-3.0-or-later
#include "music/beat_tracker.h"

#include <aubio/aubio.h>

#include <algorithm>
#include <cmath>

namespace lumiere::music {

struct BeatTracker::Aubio {
    Aubio()
        : tempo(new_aubio_tempo("default", kWindowSize, kHopSize, kSampleRate)),
          input(new_fvec(kHopSize)),
          output(new_fvec(2)),
          lastBeat(aubio_tempo_get_last(tempo)) {}
    ~Aubio() {
        del_fvec(output);
        del_fvec(input);
        del_aubio_tempo(tempo);
    }
    Aubio(const Aubio&) = delete;
    Aubio& operator=(const Aubio&) = delete;

    aubio_tempo_t* tempo;
    fvec_t* input;
    fvec_t* output;
    smpl_t silenceDb = -90;
    uint_t lastBeat;
};

Level measureLevel(std::span<const float> samples) {
    if (samples.empty()) return {};
    double sum = 0;
    float peak = 0;
    for (float sample : samples) {
        sum += static_cast<double>(sample) * sample;
        peak = std::max(peak, std::abs(sample));
    }
    const auto rms = static_cast<float>(std::sqrt(sum / static_cast<double>(samples.size())));
    return {std::min(rms, 1.0f), std::min(peak, 1.0f)};
}

Thresholds sensitivityThresholds(int sensitivity) {
    const int steps =
        std::clamp(sensitivity, kMinSensitivity, kMaxSensitivity) - kDefaultSensitivity;
    return {static_cast<float>(-90.0 - 6.0 * steps),
            static_cast<float>(0.3 * std::pow(1.25, -steps))};
}

BeatTracker::BeatTracker(int sensitivity) : aubio_(std::make_unique<Aubio>()) {
    setSensitivity(sensitivity);
}

BeatTracker::~BeatTracker() = default;

void BeatTracker::setSensitivity(int sensitivity) {
    sensitivity_ = std::clamp(sensitivity, kMinSensitivity, kMaxSensitivity);
    const Thresholds thresholds = sensitivityThresholds(sensitivity_);
    aubio_->silenceDb = thresholds.silenceDb;
    aubio_tempo_set_silence(aubio_->tempo, thresholds.silenceDb);
    aubio_tempo_set_threshold(aubio_->tempo, thresholds.peakPick);
}

double BeatTracker::aubioBpm() const {
    return aubio_tempo_get_bpm(aubio_->tempo);
}

void BeatTracker::feed(std::span<const float> samples, std::vector<double>& beats) {
    level_ = measureLevel(samples);
    smpl_t* hop = fvec_get_data(aubio_->input);
    while (!samples.empty()) {
        const std::size_t take = std::min(samples.size(), kHopSize - filled_);
        std::copy_n(samples.begin(), take, hop + filled_);
        filled_ += take;
        samplesFed_ += take;
        samples = samples.subspan(take);
        if (filled_ == kHopSize) {
            analyseHop(beats);
            filled_ = 0;
        }
    }
}

void BeatTracker::analyseHop(std::vector<double>& beats) {
    aubio_tempo_do(aubio_->tempo, aubio_->input, aubio_->output);
    // aubio flags a beat with the fraction of the hop where it falls, which is 0 for a beat on
    // the hop's first sample; its beat position changes for every beat, so that is what counts.
    const uint_t last = aubio_tempo_get_last(aubio_->tempo);
    if (last == aubio_->lastBeat) return;
    aubio_->lastBeat = last;
    if (aubio_silence_detection(aubio_->input, aubio_->silenceDb) == 1) return;
    if (last > samplesFed_) return;  // aubio's look-back delay put it before the stream began
    beats.push_back(static_cast<double>(last) / kSampleRate);
}

}  // namespace lumiere::music
