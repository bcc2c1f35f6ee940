// SPDX-License-Identifier: GPL-3.0-or-later
#include "pty_line.h"

#include <fcntl.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

namespace lumiere::sim {

namespace {

std::string failure(const char* what) {
    return std::string(what) + " : " + std::strerror(errno);
}

}  // namespace

PtyLine::~PtyLine() {
    if (slave_ >= 0) ::close(slave_);
    if (master_ >= 0) ::close(master_);
}

bool PtyLine::open(std::string& error) {
    master_ = ::posix_openpt(O_RDWR | O_NOCTTY);
    if (master_ < 0) {
        error = failure("impossible de créer le pseudo-terminal (posix_openpt)");
        return false;
    }
    if (::fcntl(master_, F_SETFD, FD_CLOEXEC) != 0 ||
        ::fcntl(master_, F_SETFL, ::fcntl(master_, F_GETFL) | O_NONBLOCK) != 0) {
        error = failure("réglage du pseudo-terminal impossible (fcntl)");
        return false;
    }
    if (::grantpt(master_) != 0 || ::unlockpt(master_) != 0) {
        error = failure("impossible de déverrouiller le pseudo-terminal (grantpt/unlockpt)");
        return false;
    }
    const char* name = ::ptsname(master_);
    if (name == nullptr) {
        error = failure("nom du pseudo-terminal introuvable (ptsname)");
        return false;
    }
    slavePath_ = name;

    slave_ = ::open(slavePath_.c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (slave_ < 0) {
        error = failure(("impossible d'ouvrir " + slavePath_).c_str());
        return false;
    }

    termios settings{};
    if (::tcgetattr(slave_, &settings) != 0) {
        error = failure("lecture des réglages de la ligne impossible (tcgetattr)");
        return false;
    }
    ::cfmakeraw(&settings);
    settings.c_cflag &= ~static_cast<tcflag_t>(CSTOPB | PARENB | CRTSCTS);
    settings.c_cflag |= CS8 | CLOCAL | CREAD;
    ::cfsetispeed(&settings, B9600);
    ::cfsetospeed(&settings, B9600);
    if (::tcsetattr(slave_, TCSANOW, &settings) != 0) {
        error = failure("réglage de la ligne impossible (tcsetattr)");
        return false;
    }
    return true;
}

long PtyLine::readAvailable(std::span<std::uint8_t> buffer) {
    for (;;) {
        const ssize_t count = ::read(master_, buffer.data(), buffer.size());
        if (count >= 0) return static_cast<long>(count);
        if (errno == EINTR) continue;
        if (errno == EAGAIN || errno == EWOULDBLOCK) return 0;
        return -1;
    }
}

bool PtyLine::clearExclusiveMode() {
#ifdef TIOCGEXCL
    int exclusive = 0;
    if (::ioctl(slave_, TIOCGEXCL, &exclusive) != 0 || exclusive == 0) return false;
    return ::ioctl(slave_, TIOCNXCL) == 0;
#else
    return false;
#endif
}

}  // namespace lumiere::sim
