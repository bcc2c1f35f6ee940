// SPDX-License-Identifier: GPL-3.0-or-later
#include "music/frequency_power.h"

#include <aubio/aubio.h>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <type_traits>

namespace lumiere::music {

static_assert(std::is_same_v<smpl_t, float>, "aubio built with float samples");

struct FrequencyPower::Fft {
    explicit Fft(int size)
        : fft(new_aubio_fft(uint_t(size))),
          in(new_fvec(uint_t(size))),
          out(new_fvec(uint_t(size))) {}
    ~Fft() {
        del_fvec(out);
        del_fvec(in);
        del_aubio_fft(fft);
    }
    Fft(const Fft&) = delete;
    Fft& operator=(const Fft&) = delete;
    aubio_fft_t* fft;
    fvec_t* in;
    fvec_t* out;
};

FrequencyPower::FrequencyPower(int size, int highestBin)
    : fft_(std::make_unique<Fft>(size)),
      ring_(std::size_t(size), 0.0f),
      window_(std::size_t(size)),
      power_(static_cast<std::size_t>(std::clamp(highestBin, 0, size / 2) + 1), 0.0) {
    for (int i = 0; i < size; ++i)
        window_[std::size_t(i)] =
            static_cast<float>(0.5 - 0.5 * std::cos(2 * std::numbers::pi * (i + 0.5) / size));
}

FrequencyPower::~FrequencyPower() = default;

void FrequencyPower::push(float sample) {
    ring_[samples_ % ring_.size()] = std::isfinite(sample) ? std::clamp(sample, -1.0f, 1.0f) : 0.0f;
    ++samples_;
}

const std::vector<double>& FrequencyPower::measure() {
    smpl_t* in = fvec_get_data(fft_->in);
    for (std::size_t i = 0; i < ring_.size(); ++i)
        in[i] = ring_[(samples_ + i) % ring_.size()] * window_[i];
    aubio_fft_do_complex(fft_->fft, fft_->in, fft_->out);
    // aubio's layout: the real part of bin k at k (0 .. size/2), its imaginary part at size - k.
    const smpl_t* x = fvec_get_data(fft_->out);
    const std::size_t size = ring_.size();
    for (std::size_t k = 0; k < power_.size(); ++k) {
        const double re = x[k];
        const double im = k == 0 || 2 * k == size ? 0.0 : double(x[size - k]);
        power_[k] = re * re + im * im;
    }
    return power_;
}

}  // namespace lumiere::music
