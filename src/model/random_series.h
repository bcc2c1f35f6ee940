// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The random series of "Aléatoire": uniform in [0, 1), started from the same seed on every run.

#include <random>

namespace lumiere {

class RandomSeries {
public:
    double next() {
        // 24 high bits of the Mersenne twister, exact in a double and independent of the library.
        return static_cast<double>(engine_() >> 8) / 16777216.0;
    }

private:
    std::mt19937 engine_{5489u};
};

}  // namespace lumiere
