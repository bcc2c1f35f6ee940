// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Reads a line's frames on a thread of its own and notes when each arrived, on the steady clock:
// how a test sees the rhythm of the lamps, not only their order.

#include <poll.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <mutex>
#include <thread>
#include <vector>

#include "link/frame.h"

namespace lumiere::test {

class TimedFrames {
public:
    struct Frame {
        std::chrono::steady_clock::time_point at;
        int value;
    };

    explicit TimedFrames(int fd) : fd_(fd), reader_([this] { read(); }) {}
    ~TimedFrames() {
        stop_ = true;
        reader_.join();
    }
    TimedFrames(const TimedFrames&) = delete;
    TimedFrames& operator=(const TimedFrames&) = delete;

    std::vector<Frame> frames() const {
        const std::lock_guard lock(mutex_);
        return frames_;
    }

private:
    void read() {
        std::vector<unsigned char> pending;
        while (!stop_) {
            pollfd p{fd_, POLLIN, 0};
            if (::poll(&p, 1, 20) <= 0 || !(p.revents & POLLIN)) continue;
            unsigned char buffer[256];
            const ssize_t n = ::read(fd_, buffer, sizeof buffer);
            if (n <= 0) continue;
            const auto now = std::chrono::steady_clock::now();
            pending.insert(pending.end(), buffer, buffer + n);
            const std::lock_guard lock(mutex_);
            for (const int value : decoder_.values(pending)) frames_.push_back({now, value});
            pending.clear();
        }
    }

    int fd_;
    std::atomic<bool> stop_ = false;
    mutable std::mutex mutex_;
    std::vector<Frame> frames_;
    FrameDecoder decoder_;  // reader thread only
    std::thread reader_;
};

}  // namespace lumiere::test
