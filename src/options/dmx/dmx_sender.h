// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The sending logic of the DMX output, free of threads and of real time: whoever owns it gives
// it the frames in order and the current time, and runs it again at the latest when it says.
//
// - Frames go out in order, at most kAhead of them before the daemon's answers, so a daemon that
//   keeps up gets every frame and one that does not (frozen) never has more than kAhead waiting.
// - Frames not yet sent wait in a backlog of kBacklog; beyond that the backlog collapses to the
//   latest frame, which is the state the universe must hold.
// - The connection is opened when wanted and reopened about once a second while it fails (at
//   once after a loss, for a daemon that restarts quickly); after each opening the latest frame
//   goes out at once and what was still waiting is dropped.
// - While nothing new comes, the latest frame is sent again every kRefresh.
// - No answer for kAnswerDeadline: the daemon is taken as not responding (the connection stays
//   open, since a frozen daemon still accepts bytes and a new connection would not help).
// - finish() makes one last frame (the all-off frame) the only one left; finished() is true once
//   the daemon has answered it, which proves it reached the universe.

#include <chrono>
#include <cstdint>
#include <deque>
#include <optional>

#include "dmx/dmx_connection.h"
#include "dmx/dmx_status.h"

namespace lumiere {

class DmxSender {
public:
    using Clock = std::chrono::steady_clock;

    static constexpr std::size_t kAhead = 8;
    static constexpr std::size_t kBacklog = 64;
    static constexpr Clock::duration kRetry = std::chrono::seconds(1);
    static constexpr Clock::duration kRefresh = std::chrono::milliseconds(500);
    static constexpr Clock::duration kAnswerDeadline = std::chrono::seconds(1);

    explicit DmxSender(DmxConnection& connection) : connection_(connection) {}
    DmxSender(const DmxSender&) = delete;
    DmxSender& operator=(const DmxSender&) = delete;

    // Switched off, the output sends what is already waiting, then closes the connection.
    void enable(bool on);
    void push(const DmxFrame& frame);
    void finish(const DmxFrame& last);

    // Does what is due at `now`; returns the time it must run again at the latest.
    Clock::time_point run(Clock::time_point now);

    bool finished() const { return finalAnswered_; }
    bool connected() const { return connected_; }
    DmxLinkState state() const { return state_; }
    std::uint64_t episode() const { return episode_; }
    // The frame that names the universe of the current state.
    const DmxFrame& stateFrame() const { return stateFrame_; }

    std::uint64_t framesSent() const { return framesSent_; }
    std::uint64_t framesCollapsed() const { return framesCollapsed_; }

private:
    struct InFlight {
        Clock::time_point sentAt;
        DmxFrame frame;
        bool final = false;
    };

    bool wanted() const { return wanted_ || finishing_; }
    void openConnection(Clock::time_point now);
    void loseConnection(Clock::time_point now, bool garbled = false);
    void takeAnswers(Clock::time_point now);
    bool sendFrame(const DmxFrame& frame, bool final, Clock::time_point now);
    void setState(DmxLinkState state, const DmxFrame& frame);
    Clock::time_point nextRun(Clock::time_point now) const;

    DmxConnection& connection_;
    bool wanted_ = false;
    bool connected_ = false;
    bool finishing_ = false;
    bool finalQueued_ = false;
    bool finalAnswered_ = false;
    std::optional<DmxFrame> latest_;
    std::deque<DmxFrame> backlog_;
    std::deque<InFlight> inFlight_;
    Clock::time_point retryAt_{};
    Clock::time_point openedAt_{};
    Clock::time_point lastSent_{};
    DmxLinkState state_ = DmxLinkState::Off;
    std::uint64_t episode_ = 0;
    DmxFrame stateFrame_;
    std::uint64_t framesSent_ = 0;
    std::uint64_t framesCollapsed_ = 0;
};

}  // namespace lumiere
