// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// An open file descriptor that is closed when it goes out of scope, whatever way out is taken.

#include <unistd.h>

#include <cerrno>

namespace lumiere {

class Descriptor {
public:
    explicit Descriptor(int fd) : fd_(fd) {}
    ~Descriptor() {
        if (fd_ >= 0) ::close(fd_);
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;

    int get() const { return fd_; }
    // Closes now, so that a failed close (a full disk on some file systems) is seen: 0 or errno.
    int close() {
        const int result = ::close(fd_);
        fd_ = -1;
        return result == 0 ? 0 : errno;
    }

private:
    int fd_;
};

}  // namespace lumiere
