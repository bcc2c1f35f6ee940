// SPDX-License-Identifier: GPL-3.0-or-later
#include "io/file_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <thread>

#include "text/french.h"

namespace lumiere {

FileLock::FileLock(const std::string& lockPath, std::chrono::milliseconds patience) {
    fd_ = ::open(lockPath.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0644);
    if (fd_ < 0) {
        error_ = errno;
        return;
    }
    const auto until = std::chrono::steady_clock::now() + patience;
    for (;;) {
        if (::flock(fd_, LOCK_EX | LOCK_NB) == 0) return;
        if (errno != EWOULDBLOCK && errno != EINTR) break;
        if (std::chrono::steady_clock::now() >= until) {
            error_ = kLockBusy;
            return;
        }
        // Another Lumière saves: its read, change and write take a few milliseconds.
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    error_ = errno;
}

FileLock::~FileLock() {
    if (fd_ < 0) return;
    if (error_ == 0) ::flock(fd_, LOCK_UN);
    ::close(fd_);
}

}  // namespace lumiere
