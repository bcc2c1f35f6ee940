// SPDX-License-Identifier: GPL-3.0-or-later
#include "dmx/dmx_sender.h"

#include <algorithm>

namespace lumiere {

void DmxSender::enable(bool on) {
    wanted_ = on;
}

void DmxSender::push(const DmxFrame& frame) {
    if (finishing_) return;  // nothing follows the last frame
    latest_ = frame;
    backlog_.push_back(frame);
    if (backlog_.size() > kBacklog) {
        framesCollapsed_ += backlog_.size() - 1;
        backlog_.assign(1, frame);
    }
}

void DmxSender::finish(const DmxFrame& last) {
    if (finishing_) return;
    finishing_ = true;
    finalQueued_ = true;
    framesCollapsed_ += backlog_.size();
    backlog_.assign(1, last);
    latest_ = last;
    retryAt_ = {};  // one more try at once if the connection is down
}

void DmxSender::setState(DmxLinkState state, const DmxFrame& frame) {
    const bool aboutPatch =
        state == DmxLinkState::Connected || state == DmxLinkState::UniverseMissing;
    if (state == state_ && (!aboutPatch || (frame.universe == stateFrame_.universe &&
                                            frame.firstChannel == stateFrame_.firstChannel))) {
        return;
    }
    state_ = state;
    stateFrame_ = frame;
    ++episode_;
}

void DmxSender::openConnection(Clock::time_point now) {
    if (!connection_.open()) {
        setState(DmxLinkState::NotResponding, latest_.value_or(stateFrame_));
        retryAt_ = now + kRetry;
        return;
    }
    connected_ = true;
    openedAt_ = now;
    inFlight_.clear();
    // Only the current state matters after a gap: it goes out at once.
    if (latest_) {
        framesCollapsed_ += backlog_.empty() ? 0 : backlog_.size() - 1;
        backlog_.assign(1, *latest_);
        finalQueued_ = finishing_;
    } else {
        setState(DmxLinkState::Connected, stateFrame_);
    }
}

void DmxSender::loseConnection(Clock::time_point now, bool garbled) {
    connection_.close();
    connected_ = false;
    inFlight_.clear();
    setState(garbled ? DmxLinkState::NotOla : DmxLinkState::NotResponding,
             latest_.value_or(stateFrame_));
    // A daemon that restarts quickly is back at the next attempt; one that drops every new
    // connection at once, or answers what is not its protocol, is tried only once a second.
    retryAt_ = garbled ? now + kRetry : std::max(now, openedAt_ + kRetry);
}

void DmxSender::takeAnswers(Clock::time_point now) {
    const DmxReplies replies = connection_.collect();
    const std::size_t answered = std::min(replies.applied + replies.refused, inFlight_.size());
    for (std::size_t i = 0; i < answered; ++i) {
        const InFlight& done = inFlight_.front();
        if (done.final) finalAnswered_ = true;
        // Answers come in order: the last one tells the state of the newest universe.
        if (i + 1 == answered) {
            setState(replies.lastApplied ? DmxLinkState::Connected : DmxLinkState::UniverseMissing,
                     done.frame);
        }
        inFlight_.pop_front();
    }
    if (replies.lost) loseConnection(now, replies.garbled);
}

bool DmxSender::sendFrame(const DmxFrame& frame, bool final, Clock::time_point now) {
    if (!connection_.send(frame)) {
        loseConnection(now);
        return false;
    }
    ++framesSent_;
    inFlight_.push_back({now, frame, final});
    lastSent_ = now;
    return true;
}

DmxSender::Clock::time_point DmxSender::run(Clock::time_point now) {
    if (!connected_) {
        if (!wanted()) {
            framesCollapsed_ += backlog_.size();
            backlog_.clear();
            setState(DmxLinkState::Off, latest_.value_or(stateFrame_));
            return Clock::time_point::max();
        }
        if (now < retryAt_) return retryAt_;
        openConnection(now);
        if (!connected_) return retryAt_;
    }

    takeAnswers(now);
    while (connected_ && inFlight_.size() < kAhead && !backlog_.empty()) {
        const DmxFrame frame = backlog_.front();
        backlog_.pop_front();
        const bool final = finalQueued_ && backlog_.empty();
        if (sendFrame(frame, final, now) && final) finalQueued_ = false;
    }
    if (connected_ && wanted() && latest_ && backlog_.empty() && inFlight_.size() < kAhead &&
        now - lastSent_ >= kRefresh && !finalAnswered_) {
        sendFrame(*latest_, false, now);
    }
    if (!connected_) return retryAt_;  // lost while sending

    if (!inFlight_.empty() && now - inFlight_.front().sentAt >= kAnswerDeadline) {
        setState(DmxLinkState::NotResponding, latest_.value_or(stateFrame_));
    }
    if (!wanted() && backlog_.empty() && inFlight_.empty()) {
        connection_.close();
        connected_ = false;
        setState(DmxLinkState::Off, latest_.value_or(stateFrame_));
        return Clock::time_point::max();
    }
    return nextRun(now);
}

DmxSender::Clock::time_point DmxSender::nextRun(Clock::time_point now) const {
    Clock::time_point next = Clock::time_point::max();
    const bool room = inFlight_.size() < kAhead;
    if (!backlog_.empty() && room) return now;
    if (wanted() && latest_ && room && !finalAnswered_) {
        next = std::min(next, std::max(now, lastSent_ + kRefresh));
    }
    if (!inFlight_.empty()) {
        const auto deadline = inFlight_.front().sentAt + kAnswerDeadline;
        if (deadline > now) next = std::min(next, deadline);
    }
    return next;
}

}  // namespace lumiere
