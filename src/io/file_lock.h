// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// An exclusive lock between programs on a file that is read, changed and written back in one
// step (param.ini): the lock is a file of its own beside it ("param.ini.lock"), since the save
// replaces the file itself by a rename. Another Lumière on the same program folder waits for it;
// one that cannot have it within the time given writes nothing.

#include <chrono>
#include <string>

namespace lumiere {

class FileLock {
public:
    // Tries for `patience`; held() says whether it was had, error() why not (an errno value, or
    // kLockBusy when another program held it all that time).
    FileLock(const std::string& lockPath, std::chrono::milliseconds patience);
    ~FileLock();
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;

    bool held() const { return fd_ >= 0 && error_ == 0; }
    int error() const { return error_; }

private:
    int fd_ = -1;
    int error_ = 0;
};

}  // namespace lumiere
