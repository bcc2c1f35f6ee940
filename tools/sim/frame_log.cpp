// SPDX-License-Identifier: GPL-3.0-or-later
#include "frame_log.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace lumiere::sim {

namespace {

// Past this size the buffer is written at once, whatever the deadline.
constexpr std::size_t kMaxBuffered = 64 * 1024;

}  // namespace

FrameLog::~FrameLog() {
    if (fd_ >= 0) {
        flush();
        ::close(fd_);
    }
}

bool FrameLog::open(const std::string& path, std::string& error) {
    fd_ = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd_ < 0) {
        error = "impossible d'ouvrir le journal « " + path + " » : " + std::strerror(errno);
        return false;
    }
    return true;
}

void FrameLog::frame(std::int64_t ns, std::uint8_t value) {
    append(ns, "", value);
}

void FrameLog::stray(std::int64_t ns, std::uint8_t value) {
    append(ns, "parasite ", value);
}

void FrameLog::append(std::int64_t ns, const char* kind, std::uint8_t value) {
    if (fd_ < 0) return;
    if (buffer_.empty()) oldestBufferedNs_ = ns;
    char line[64];
    const int length = std::snprintf(line, sizeof line, "%lld %s%u\n", static_cast<long long>(ns),
                                     kind, static_cast<unsigned>(value));
    buffer_.append(line, static_cast<std::size_t>(length));
    if (buffer_.size() >= kMaxBuffered) flush();
}

std::optional<std::int64_t> FrameLog::flushDeadline() const {
    if (buffer_.empty()) return std::nullopt;
    return oldestBufferedNs_ + kFlushDelayNs;
}

bool FrameLog::flush() {
    std::size_t written = 0;
    bool ok = true;
    while (written < buffer_.size()) {
        const ssize_t count = ::write(fd_, buffer_.data() + written, buffer_.size() - written);
        if (count < 0 && errno == EINTR) continue;
        if (count <= 0) {
            ok = false;
            break;
        }
        written += static_cast<std::size_t>(count);
    }
    buffer_.clear();
    return ok;
}

}  // namespace lumiere::sim
