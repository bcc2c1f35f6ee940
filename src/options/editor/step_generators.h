// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The generators of the editor: patterns written over a run of steps. Directions are the desk's:
// "left" is towards its first lamp, the most significant bit.

#include <cstdint>
#include <vector>

namespace lumiere {

enum class Generator {
    ChaseLeft,     // one lamp, from the desk's last lamp to its first, then again
    ChaseRight,    // one lamp, from the first lamp to the last, then again
    BackAndForth,  // one lamp, from the first to the last and back, without repeating the ends
    Fill,          // every lamp lit
    Invert,        // every lamp switched
    Random,        // a pattern from a series started from `seed`
};

// The values of `current.size()` steps after the generator; `current` is what they hold now.
std::vector<int> generate(Generator generator, const std::vector<int>& current, std::uint32_t seed);

}  // namespace lumiere
