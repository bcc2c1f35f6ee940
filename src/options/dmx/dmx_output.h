// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The DMX output: every frame the lamp controller gets also goes to a universe of the lighting
// daemon. The window's thread only records the frame and wakes a worker thread, which owns the
// connection and runs the sending logic (DmxSender); no call here waits on the daemon, except
// shutdown(), which waits a bounded time for the all-off frame to be answered.
//
// Status: the window polls status() or takeNotice() (both thread-safe, from any thread); the
// worker never calls into the window.

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "dmx/dmx_connection.h"
#include "dmx/dmx_status.h"

namespace lumiere {

class DmxOutput {
public:
    DmxOutput(std::unique_ptr<DmxConnection> connection, const DmxSettings& settings);
    ~DmxOutput();  // shuts down if shutdown() was not called
    DmxOutput(const DmxOutput&) = delete;
    DmxOutput& operator=(const DmxOutput&) = delete;

    // The lamp byte of a frame, as sent to the lamp controller. Ignored while the output is off
    // and after shutdown.
    void send(std::uint8_t lamps);

    // New settings take effect at once: the current lamps go to the new channels; a universe
    // left behind, or an output switched off, first gets the all-off frame.
    void apply(const DmxSettings& settings);

    // Sends the all-off frame and waits until the daemon has answered it (it is then in the
    // universe) or `limit` has passed; then stops the worker. True when the frame was answered,
    // or when the output was off. Nothing is sent afterwards.
    bool shutdown(std::chrono::milliseconds limit = std::chrono::milliseconds(500));

    DmxStatus status() const;
    // The text of a new episode, once; nothing while the state has not changed.
    std::optional<std::string> takeNotice();

    struct Counters {
        std::uint64_t framesSent = 0;       // to the daemon, refreshes included
        std::uint64_t framesCollapsed = 0;  // dropped from a backlog the daemon did not drain
    };
    Counters counters() const;

private:
    void post(const DmxFrame& frame);
    void wake();
    void work();

    class WakeSignal;

    // Window-thread side.
    DmxSettings settings_;
    std::uint8_t lamps_ = 0;
    bool posted_ = false;  // lamps_ is on its way with the current settings
    bool sealed_ = false;

    // Shared, under mutex_.
    mutable std::mutex mutex_;
    std::condition_variable finishedChanged_;
    std::vector<DmxFrame> inbox_;
    bool wanted_ = false;
    bool finish_ = false;
    DmxFrame final_;
    bool stop_ = false;
    bool signalled_ = false;
    bool finished_ = false;
    DmxStatus status_;
    std::uint64_t noticed_ = 0;
    std::uint64_t framesSent_ = 0;
    std::uint64_t inboxCollapsed_ = 0;
    std::uint64_t senderCollapsed_ = 0;

    std::unique_ptr<WakeSignal> signal_;
    std::unique_ptr<DmxConnection> connection_;  // used by the worker only
    std::thread worker_;
};

}  // namespace lumiere
