// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The far side of a pseudo-terminal, optionally linked as COM<N> in a program folder: what a lamp
// controller would receive. The near side stays open, as a controller's line would.

#include <poll.h>
#include <pty.h>
#include <unistd.h>

#include <cstdint>
#include <string>
#include <vector>

#include "link/frame.h"

namespace lumiere::test {

class PtyPeer {
public:
    explicit PtyPeer(const std::string& link = {}) : link_(link) {
        char name[256];
        if (::openpty(&master_, &slave_, name, nullptr, nullptr) == 0) {
            path_ = name;
            linked_ = link.empty() || ::symlink(name, link.c_str()) == 0;
        }
    }
    ~PtyPeer() {
        if (linked_ && !link_.empty()) ::unlink(link_.c_str());
        if (master_ >= 0) ::close(master_);
        if (slave_ >= 0) ::close(slave_);
    }
    PtyPeer(const PtyPeer&) = delete;
    PtyPeer& operator=(const PtyPeer&) = delete;

    bool ready() const { return linked_; }
    const std::string& path() const { return path_; }
    int nearSide() const { return slave_; }
    int farSide() const { return master_; }

    // Every byte received since the last call.
    std::string bytes() {
        receive();
        std::string out;
        out.swap(pending_);
        return out;
    }

    // The pattern bytes of the frames received so far; -1 marks a byte out of frame.
    std::vector<int> frames() {
        receive();
        const auto* bytes = reinterpret_cast<const std::uint8_t*>(pending_.data());
        std::vector<int> values = decoder_.values({bytes, pending_.size()});
        pending_.clear();
        return values;
    }

private:
    void receive() {
        pollfd p{master_, POLLIN, 0};
        while (::poll(&p, 1, 20) > 0 && (p.revents & POLLIN)) {
            char buffer[4096];
            const ssize_t n = ::read(master_, buffer, sizeof buffer);
            if (n <= 0) break;
            pending_.append(buffer, static_cast<std::size_t>(n));
        }
    }

    std::string link_;
    std::string path_;
    int master_ = -1;
    int slave_ = -1;
    bool linked_ = false;
    std::string pending_;
    FrameDecoder decoder_;
};

}  // namespace lumiere::test
