// SPDX-License-Identifier: GPL-3.0-or-later
#include "music/onset_flux.h"

#include <algorithm>
#include <cmath>

#include "music/beat_tracker.h"

namespace lumiere::music {

namespace {
constexpr double kLowest = 40, kHighest = 16000;
constexpr double kBandsPerOctave = 3;
// The band's recent level: a mean over about 3 s.
const double kMeanKeep = std::exp(-double(kFrameHop) / kSampleRate / 3.0);
// log(1 + kCompress · energy / recent mean): a rise to twice the usual level counts about as
// much in every band.
constexpr double kCompress = 10;
// Below this energy (a sample level of about -100 dB) a band is silent.
constexpr double kFloor = 1e-10;
}  // namespace

OnsetFlux::OnsetFlux() : power_(kFrameWindow, kFrameWindow / 2) {
    const double binHz = double(kSampleRate) / kFrameWindow;
    int last = 0;
    for (double f = kLowest; f < kHighest; f *= std::pow(2.0, 1.0 / kBandsPerOctave)) {
        const int bin = std::max(last + 1, static_cast<int>(std::lround(f / binHz)));
        if (bandEdges_.empty() || bin > bandEdges_.back()) bandEdges_.push_back(bin);
        last = bandEdges_.back();
    }
    bandMean_.assign(bandEdges_.size() - 1, 0.0);
    previous_.assign(bandEdges_.size() - 1, 0.0f);
}

OnsetFlux::~OnsetFlux() = default;

double OnsetFlux::frameSeconds() {
    return double(kFrameHop) / kSampleRate;
}

double OnsetFlux::frameTime(std::int64_t n) {
    return (double(n + 1) * kFrameHop - kOnsetDelay) / kSampleRate;
}

void OnsetFlux::feed(std::span<const float> samples, std::vector<float>& strengths) {
    for (float sample : samples) {
        power_.push(sample);
        ++samples_;
        if (samples_ % kFrameHop == 0) strengths.push_back(analyse());
    }
}

float OnsetFlux::analyse() {
    const std::vector<double>& power = power_.measure();
    double flux = 0;
    for (std::size_t b = 0; b + 1 < bandEdges_.size(); ++b) {
        double energy = 0;
        for (int k = bandEdges_[b]; k < bandEdges_[b + 1]; ++k) energy += power[std::size_t(k)];
        energy /= double(bandEdges_[b + 1] - bandEdges_[b]);
        // The first frame sets the level; every frame's energy counts as a single one.
        bandMean_[b] = frames_ == 0 ? energy : kMeanKeep * bandMean_[b] + (1 - kMeanKeep) * energy;
        const double level = std::log1p(kCompress * energy / std::max(bandMean_[b], kFloor));
        const auto now = static_cast<float>(energy > kFloor ? level : 0.0);
        if (frames_ > 0) flux += std::max(0.0f, now - previous_[b]);
        previous_[b] = now;
    }
    ++frames_;
    return static_cast<float>(flux / double(previous_.size()));
}

}  // namespace lumiere::music
