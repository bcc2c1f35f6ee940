// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The power spectrum of the last samples of a stream: a window of `size` samples (Hann), aubio's
// real FFT, and the power of each frequency bin up to a highest bin, without the phases (an
// arctangent per bin that the analysis never uses). Not thread-safe.

#include <cstdint>
#include <memory>
#include <vector>

namespace lumiere::music {

class FrequencyPower {
public:
    // `size`: a power of two; bins 0 to `highestBin` are measured.
    FrequencyPower(int size, int highestBin);
    ~FrequencyPower();
    FrequencyPower(const FrequencyPower&) = delete;
    FrequencyPower& operator=(const FrequencyPower&) = delete;

    // The next sample of the stream (one that is not finite counts as silence; beyond full
    // scale, as full scale).
    void push(float sample);
    // |X(k)|² of the last `size` samples (silence before the first), k = 0 .. highestBin.
    const std::vector<double>& measure();

private:
    struct Fft;
    std::unique_ptr<Fft> fft_;
    std::vector<float> ring_;  // the last `size` samples, ring_[i % size]
    std::vector<float> window_;
    std::uint64_t samples_ = 0;
    std::vector<double> power_;
};

}  // namespace lumiere::music
