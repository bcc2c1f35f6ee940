// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The power of each frequency bin of a window of samples, up to a highest bin: aubio's real
// FFT, without the phases (an arctangent per bin that the analysis never uses). Not
// thread-safe.

#include <memory>
#include <span>
#include <vector>

namespace lumiere::music {

class PowerSpectrum {
public:
    // A window of `size` samples (a power of two); bins 0 to `highestBin` are measured.
    PowerSpectrum(int size, int highestBin);
    ~PowerSpectrum();
    PowerSpectrum(const PowerSpectrum&) = delete;
    PowerSpectrum& operator=(const PowerSpectrum&) = delete;

    // The samples to transform, already windowed: fill, then call measure().
    std::span<float> input();
    // |X(k)|² for k = 0 .. highestBin.
    const std::vector<double>& measure();

private:
    struct Fft;
    std::unique_ptr<Fft> fft_;
    std::vector<double> power_;
};

}  // namespace lumiere::music
