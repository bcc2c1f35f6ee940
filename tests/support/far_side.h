// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The far side of a pseudo-terminal, read by a thread of its own: every frame that arrives, with
// its arrival time (CLOCK_MONOTONIC nanoseconds), as a lamp controller would see it.

#include <atomic>
#include <cstdint>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace lumiere::test {

struct Arrival {
    std::int64_t ns;
    int value;
};

std::int64_t monotonicNs();

// A memory figure of this process from /proc/self/status ("VmRSS", "VmHWM"), in kilobytes.
long memoryKilobytes(const char* field);

class FarSide {
public:
    FarSide();
    ~FarSide();
    FarSide(const FarSide&) = delete;
    FarSide& operator=(const FarSide&) = delete;

    bool ok() const { return master_ >= 0; }
    // A new temporary program folder whose param.ini selects `port`, with this line linked there
    // as COM<port>. The caller removes it.
    std::string makeProgramFolder(const std::string& purpose, int port = 1) const;
    const std::string& path() const { return path_; }
    // Everything received since the last call.
    std::vector<Arrival> take();
    // Waits until `count` frames are waiting to be taken, or `timeoutMs` has passed.
    void waitFor(std::size_t count, int timeoutMs);
    std::uint64_t strays() const { return strays_; }

private:
    void run();

    int master_ = -1;
    int slave_ = -1;
    std::string path_;
    std::atomic<bool> stop_{false};
    std::atomic<std::uint64_t> strays_{0};
    std::mutex mutex_;
    std::vector<Arrival> arrivals_;
    std::thread reader_;
};

}  // namespace lumiere::test
