// SPDX-License-Identifier: GPL-3.0-or-later
#include "music/power_spectrum.h"

#include <aubio/aubio.h>

#include <algorithm>
#include <type_traits>

namespace lumiere::music {

static_assert(std::is_same_v<smpl_t, float>, "aubio built with float samples");

struct PowerSpectrum::Fft {
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

PowerSpectrum::PowerSpectrum(int size, int highestBin)
    : fft_(std::make_unique<Fft>(size)),
      power_(static_cast<std::size_t>(std::clamp(highestBin, 0, size / 2) + 1), 0.0) {}

PowerSpectrum::~PowerSpectrum() = default;

std::span<float> PowerSpectrum::input() {
    return {fvec_get_data(fft_->in), fft_->in->length};
}

const std::vector<double>& PowerSpectrum::measure() {
    aubio_fft_do_complex(fft_->fft, fft_->in, fft_->out);
    // aubio's layout: the real part of bin k at k (0 .. size/2), its imaginary part at size - k.
    const smpl_t* x = fvec_get_data(fft_->out);
    const std::size_t size = fft_->out->length;
    for (std::size_t k = 0; k < power_.size(); ++k) {
        const double re = x[k];
        const double im = k == 0 || 2 * k == size ? 0.0 : double(x[size - k]);
        power_[k] = re * re + im * im;
    }
    return power_;
}

}  // namespace lumiere::music
