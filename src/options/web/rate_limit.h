// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The commands of one phone: at most kPerSecond in any second (a sliding window); the ones
// beyond are dropped. Time is passed in.

#include <array>
#include <chrono>
#include <cstddef>

namespace lumiere {

class CommandRateLimit {
public:
    using Clock = std::chrono::steady_clock;
    static constexpr std::size_t kPerSecond = 50;

    // True when a command arriving at `now` may run; it then counts.
    bool admit(Clock::time_point now) {
        Clock::time_point& oldest = admitted_[next_];
        if (count_ == kPerSecond && now - oldest < std::chrono::seconds(1)) return false;
        oldest = now;
        next_ = (next_ + 1) % kPerSecond;
        if (count_ < kPerSecond) ++count_;
        return true;
    }

private:
    std::array<Clock::time_point, kPerSecond> admitted_{};  // a ring, oldest at next_ when full
    std::size_t next_ = 0;
    std::size_t count_ = 0;
};

}  // namespace lumiere
