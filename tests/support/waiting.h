// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Waiting on what another thread or process does: poll a condition until it holds or a deadline
// passes (never a bare sleep), and see the lamps a DMX universe received with the idle refresh's
// repeats kept once.

#include <chrono>
#include <thread>
#include <vector>

namespace lumiere::test {

template <typename Condition>
bool waitFor(Condition condition, std::chrono::milliseconds limit = std::chrono::seconds(5)) {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (!condition()) {
        if (std::chrono::steady_clock::now() > deadline) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return true;
}

// Repeats in a row kept once: the idle refresh sends the current lamps again.
inline std::vector<int> once(const std::vector<int>& lamps) {
    std::vector<int> out;
    for (const int lamp : lamps) {
        if (out.empty() || out.back() != lamp) out.push_back(lamp);
    }
    return out;
}

}  // namespace lumiere::test
