// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A daemon connection in memory: up or down, answering or frozen, knowing some universes.
// Thread-safe, so a test can watch it while a DmxOutput worker uses it; its descriptor turns
// readable when answers wait, as a socket would.

#include <sys/eventfd.h>
#include <unistd.h>

#include <deque>
#include <mutex>
#include <set>
#include <vector>

#include "dmx/dmx_connection.h"

namespace lumiere::test {

class FakeDmxConnection final : public DmxConnection {
public:
    FakeDmxConnection() = default;
    ~FakeDmxConnection() override { ::close(ready_); }
    FakeDmxConnection(const FakeDmxConnection&) = delete;
    FakeDmxConnection& operator=(const FakeDmxConnection&) = delete;

    bool open() override {
        const std::lock_guard lock(mutex_);
        ++opens_;
        open_ = up_;
        waiting_.clear();
        return open_;
    }
    void close() override {
        const std::lock_guard lock(mutex_);
        open_ = false;
        waiting_.clear();
    }
    bool send(const DmxFrame& frame) override {
        const std::lock_guard lock(mutex_);
        if (!open_ || !up_) return false;
        sent_.push_back(frame);
        waiting_.push_back(!missing_.count(frame.universe));
        if (answering_) raise();
        return true;
    }
    DmxReplies collect() override {
        const std::lock_guard lock(mutex_);
        std::uint64_t count = 0;
        if (::read(ready_, &count, sizeof count) < 0) count = 0;
        DmxReplies replies;
        replies.lost = open_ && !up_;
        while (answering_ && !waiting_.empty()) {
            const bool applied = waiting_.front();
            waiting_.pop_front();
            (applied ? replies.applied : replies.refused) += 1;
            replies.lastApplied = applied;
            if (applied) applied_.push_back(sent_[sent_.size() - waiting_.size() - 1]);
        }
        return replies;
    }
    int descriptor() const override {
        const std::lock_guard lock(mutex_);
        return open_ ? ready_ : -1;  // a closed connection has no socket to watch
    }

    // The daemon: stopped or started, frozen or thawed, with or without a universe.
    void setUp(bool up) {
        const std::lock_guard lock(mutex_);
        up_ = up;
        raise();
    }
    void setAnswering(bool answering) {
        const std::lock_guard lock(mutex_);
        answering_ = answering;
        raise();
    }
    void setMissing(int universe) {
        const std::lock_guard lock(mutex_);
        missing_.insert(universe);
    }

    int opens() const {
        const std::lock_guard lock(mutex_);
        return opens_;
    }
    bool isOpen() const {
        const std::lock_guard lock(mutex_);
        return open_;
    }
    std::vector<DmxFrame> sent() const {
        const std::lock_guard lock(mutex_);
        return sent_;
    }
    // The frames the daemon answered as applied, in order.
    std::vector<DmxFrame> applied() const {
        const std::lock_guard lock(mutex_);
        return applied_;
    }

private:
    void raise() {
        const std::uint64_t one = 1;
        if (::write(ready_, &one, sizeof one) < 0) return;
    }

    int ready_ = ::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    mutable std::mutex mutex_;
    bool up_ = true;
    bool answering_ = true;
    bool open_ = false;
    int opens_ = 0;
    std::set<int> missing_;
    std::vector<DmxFrame> sent_;
    std::vector<DmxFrame> applied_;
    std::deque<bool> waiting_;
};

}  // namespace lumiere::test
