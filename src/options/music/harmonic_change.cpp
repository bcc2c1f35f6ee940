// SPDX-License-Identifier: GPL-3.0-or-later
#include "music/harmonic_change.h"

#include <algorithm>
#include <cmath>

#include "music/beat_tracker.h"
#include "music/onset_flux.h"

namespace lumiere::music {

namespace {
constexpr int kWindow = 4096;
constexpr double kLowestHz = 80, kHighestHz = 3000;
// The moment before and the moment after a frame: this many frames each (93 ms).
constexpr int kChangeSpan = 8;
// A window's middle lies this many frames before the frame its last hop completes.
constexpr int kWindowLag = (kWindow / 2 - kFrameHop) / kFrameHop;
// Pitch-class energies are compared as log(1 + kCompress · share of the frame's energy): a
// quiet note of the chord counts, a loud one does not drown the others.
constexpr double kCompress = 100;
constexpr double kSilent = 1e-10;
}  // namespace

HarmonicChange::HarmonicChange()
    : power_(kWindow, static_cast<int>(kHighestHz * kWindow / kSampleRate)),
      chroma_(2 * kChangeSpan) {
    const double binHz = double(kSampleRate) / kWindow;
    for (int k = 0; k * binHz <= kHighestHz; ++k) {
        const double hz = k * binHz;
        pitchClass_.push_back(
            hz < kLowestHz
                ? -1
                : static_cast<int>(std::lround(12 * std::log2(hz / 440.0)) % 12 + 12) % 12);
    }
}

HarmonicChange::~HarmonicChange() = default;

int HarmonicChange::delayFrames() {
    return kChangeSpan + kWindowLag - 1;
}

void HarmonicChange::feed(std::span<const float> samples, std::vector<float>& changes) {
    for (float sample : samples) {
        power_.push(sample);
        ++samples_;
        if (samples_ % kFrameHop == 0) analyse(changes);
    }
}

void HarmonicChange::analyse(std::vector<float>& changes) {
    const std::vector<double>& power = power_.measure();
    std::array<double, 12> energy{};
    double total = 0;
    for (std::size_t k = 0; k < pitchClass_.size() && k < power.size(); ++k) {
        if (pitchClass_[k] < 0) continue;
        const double e = power[k];
        energy[std::size_t(pitchClass_[k])] += e;
        total += e;
    }
    auto& now = chroma_[static_cast<std::size_t>(frames_ % std::int64_t(chroma_.size()))];
    for (std::size_t c = 0; c < 12; ++c)
        now[c] =
            total > kSilent ? static_cast<float>(std::log1p(kCompress * energy[c] / total)) : 0.0f;
    ++frames_;
    if (frames_ < std::int64_t(chroma_.size())) {
        changes.push_back(0.0f);
        return;
    }
    // The older half of the ring is the moment before, the newer half the moment after.
    std::array<double, 12> before{}, after{};
    for (std::int64_t i = 0; i < 2 * kChangeSpan; ++i) {
        const auto& c =
            chroma_[static_cast<std::size_t>((frames_ - 1 - i) % std::int64_t(chroma_.size()))];
        auto& sum = i < kChangeSpan ? after : before;
        for (std::size_t p = 0; p < 12; ++p) sum[p] += c[p];
    }
    double dot = 0, b2 = 0, a2 = 0;
    for (std::size_t p = 0; p < 12; ++p) {
        dot += before[p] * after[p];
        b2 += before[p] * before[p];
        a2 += after[p] * after[p];
    }
    const double change = b2 > 0 && a2 > 0 ? 1 - dot / std::sqrt(b2 * a2) : 0.0;
    changes.push_back(static_cast<float>(std::clamp(change, 0.0, 1.0)));
}

}  // namespace lumiere::music
