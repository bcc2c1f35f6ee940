// SPDX-License-Identifier: GPL-3.0-or-later
#include "link/posix_serial_port.h"

#include <fcntl.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>

namespace lumiere {
namespace {

int configureLine(int fd) {
    termios tio{};
    if (::tcgetattr(fd, &tio) != 0) return errno;  // ENOTTY: a file, a folder, a pipe
    ::cfmakeraw(&tio);
    ::cfsetispeed(&tio, B9600);
    ::cfsetospeed(&tio, B9600);
    tio.c_cflag &= ~static_cast<tcflag_t>(CSIZE | PARENB | CSTOPB | CRTSCTS);
    tio.c_cflag |= CS8 | CLOCAL | CREAD;
    tio.c_iflag &= ~static_cast<tcflag_t>(IXON | IXOFF | IXANY);
    if (::tcsetattr(fd, TCSANOW, &tio) != 0) return errno;
    return 0;
}

}  // namespace

PosixSerialPort::~PosixSerialPort() {
    close();
}

int PosixSerialPort::open() {
    if (fd_ >= 0) return 0;
    // O_NONBLOCK makes the open return at once whatever the modem lines say. It stays set for the
    // write too: a line whose far end has stopped reading then refuses the frame (EAGAIN) instead
    // of blocking the window forever once the kernel buffer is full.
    const int fd = ::open(path_.c_str(), O_WRONLY | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return errno;
    if (const int err = configureLine(fd); err != 0) {
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
    ::close(fd_);
    fd_ = -1;
}

}  // namespace lumiere
