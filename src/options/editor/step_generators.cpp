// SPDX-License-Identifier: GPL-3.0-or-later
#include "editor/step_generators.h"

#include <random>

namespace lumiere {

std::vector<int> generate(Generator generator, const std::vector<int>& current,
                          std::uint32_t seed) {
    std::vector<int> out(current.size());
    std::mt19937 series(seed);  // its output is fixed by the standard: the same on every machine
    for (std::size_t i = 0; i < out.size(); ++i) {
        const auto k = static_cast<int>(i % 8);
        switch (generator) {
            case Generator::ChaseLeft:
                out[i] = 1 << k;
                break;
            case Generator::ChaseRight:
                out[i] = 128 >> k;
                break;
            case Generator::BackAndForth: {
                const auto p = static_cast<int>(i % 14);  // 128 … 1, then 2 … 64
                out[i] = p < 8 ? 128 >> p : 1 << (p - 7);
                break;
            }
            case Generator::Fill:
                out[i] = 255;
                break;
            case Generator::Invert:
                out[i] = ~current[i] & 0xFF;
                break;
            case Generator::Random:
                out[i] = static_cast<int>(series() >> 24);
                break;
        }
    }
    return out;
}

}  // namespace lumiere
