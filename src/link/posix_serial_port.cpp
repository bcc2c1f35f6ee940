// SPDX-License-Identifier: GPL-3.0-or-later
#include "link/posix_serial_port.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>

#include "text/french.h"

namespace lumiere {
namespace {

bool hasControlCharacter(const std::string& path) {
    return std::any_of(path.begin(), path.end(),
                       [](unsigned char c) { return c < 0x20 || c == 0x7F; });
}

// Why a path that would not open is no port: a pipe nobody reads says "no device answers",
// which would send the user looking for a cable.
int reasonOfFailedOpen(const std::string& path, int err) {
    struct stat st {};
    if (err == ENXIO && ::stat(path.c_str(), &st) == 0 && S_ISFIFO(st.st_mode)) return ENOTTY;
    return err;
}

int configureLine(int fd, std::optional<termios>& before) {
    termios tio{};
    if (::tcgetattr(fd, &tio) != 0) return errno;  // ENOTTY: a file, a folder, a pipe
    // A terminal that is some session's controlling terminal is a person's, not a controller.
    if (::tcgetsid(fd) >= 0) return kTerminalInUse;
    const termios original = tio;
    ::cfmakeraw(&tio);
    ::cfsetispeed(&tio, B9600);
    ::cfsetospeed(&tio, B9600);
    tio.c_cflag &= ~static_cast<tcflag_t>(CSIZE | PARENB | CSTOPB | CRTSCTS);
    tio.c_cflag |= CS8 | CLOCAL | CREAD;
    tio.c_iflag &= ~static_cast<tcflag_t>(IXON | IXOFF | IXANY);
    if (::tcsetattr(fd, TCSANOW, &tio) != 0) return errno;
    termios now{};
    if (::tcgetattr(fd, &now) == 0 && std::memcmp(&now, &original, sizeof now) != 0) {
        before = original;
    } else {
        before.reset();
    }
    return 0;
}

// The consoles (/dev/tty, /dev/console, the virtual terminals) and the pseudo-terminals.
bool consoleOrPseudoTerminal(dev_t device) {
    const unsigned major = major(device);
    return major == 4 || major == 5 || (major >= 136 && major <= 143);
}

// Some process has `device` as its controlling terminal: the seventh field of /proc/<pid>/stat,
// which anyone may read, is that terminal's device number.
bool someoneControls(dev_t device) {
    DIR* proc = ::opendir("/proc");
    if (!proc) return false;
    bool found = false;
    while (const dirent* entry = ::readdir(proc)) {
        if (entry->d_name[0] < '1' || entry->d_name[0] > '9') continue;
        char path[300];
        std::snprintf(path, sizeof path, "/proc/%s/stat", entry->d_name);
        std::FILE* file = std::fopen(path, "re");
        if (!file) continue;
        char line[1024];
        const bool read = std::fgets(line, sizeof line, file) != nullptr;
        std::fclose(file);
        // After "pid (name) ": state, ppid, pgrp, session, tty_nr. The name may hold spaces and
        // parentheses: the fields start after its last ")".
        const char* rest = read ? std::strrchr(line, ')') : nullptr;
        long long tty = 0;
        if (rest && std::sscanf(rest + 1, " %*c %*d %*d %*d %lld", &tty) == 1 && tty != 0 &&
            static_cast<dev_t>(tty) == device) {
            found = true;
            break;
        }
    }
    ::closedir(proc);
    return found;
}

}  // namespace

int terminalRefusal(const std::string& path) {
    if (hasControlCharacter(path)) return kControlCharacter;
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0 || !S_ISCHR(st.st_mode)) return 0;
    if (!consoleOrPseudoTerminal(st.st_rdev)) return 0;
    // /dev/tty is this program's own terminal, whatever it is.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd >= 0) {
        const bool own = ::tcgetsid(fd) >= 0;
        ::close(fd);
        if (own) return kTerminalInUse;
    }
    return someoneControls(st.st_rdev) ? kTerminalInUse : 0;
}

PosixSerialPort::~PosixSerialPort() {
    close();
}

int PosixSerialPort::open() {
    if (fd_ >= 0) return 0;
    if (hasControlCharacter(path_)) return kControlCharacter;
    // O_NONBLOCK makes the open return at once whatever the modem lines say. It stays set for the
    // write too: a line whose far end has stopped reading then refuses the frame (EAGAIN) instead
    // of blocking the window forever once the kernel buffer is full.
    const int fd = ::open(path_.c_str(), O_WRONLY | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return reasonOfFailedOpen(path_, errno);
    if (const int err = configureLine(fd, before_); err != 0) {
        ::close(fd);
        return err;
    }
    // Keep other programs off the port while the frame is written.
    ::ioctl(fd, TIOCEXCL);
    fd_ = fd;
    return 0;
}

int PosixSerialPort::setDtr(bool on) {
    if (fd_ < 0) return EBADF;
    int bits = TIOCM_DTR;
    return ::ioctl(fd_, on ? TIOCMBIS : TIOCMBIC, &bits) == 0 ? 0 : errno;
}

int PosixSerialPort::write(const std::uint8_t* data, std::size_t size) {
    if (fd_ < 0) return EBADF;
    const ssize_t written = ::write(fd_, data, size);
    if (written < 0) return errno;
    return static_cast<std::size_t>(written) == size ? 0 : EAGAIN;
}

int PosixSerialPort::drain() {
    if (fd_ < 0) return EBADF;
    return ::tcdrain(fd_) == 0 ? 0 : errno;
}

void PosixSerialPort::close() {
    if (fd_ < 0) return;
    // The exclusive flag outlives this descriptor while anyone else holds the line open (the
    // virtual controller does): clear it, or the next frame's open would be refused.
    ::ioctl(fd_, TIOCNXCL);
    if (before_) ::tcsetattr(fd_, TCSANOW, &*before_);
    before_.reset();
    ::close(fd_);
    fd_ = -1;
}

}  // namespace lumiere
