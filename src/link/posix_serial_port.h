// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The serial port on a POSIX system through termios. A path with a control character, a pipe,
// and a terminal some session uses (this program's own, a shell's /dev/pts/N) are refused: none
// is a lamp controller, and frames written there would land in someone's terminal. The line's
// settings are given back as they were when the port closes, if the frame changed them.

#include <termios.h>

#include <optional>

#include "link/serial_port.h"

namespace lumiere {

// What makes `path` no lamp controller before any frame is tried, without touching a real
// serial line: a control character in it, or a console or pseudo-terminal that is some
// process's controlling terminal (this program's own, a shell's). Those have no modem lines, so
// looking at them changes nothing; looking costs a walk through /proc, so the lamp link does it
// when its device changes, not for every frame. 0 when nothing is seen.
int terminalRefusal(const std::string& path);

class PosixSerialPort final : public SerialPort {
public:
    PosixSerialPort() = default;
    ~PosixSerialPort() override;
    PosixSerialPort(const PosixSerialPort&) = delete;
    PosixSerialPort& operator=(const PosixSerialPort&) = delete;

    void setDevice(const std::string& path) override { path_ = path; }
    int open() override;
    bool isOpen() const override { return fd_ >= 0; }
    int setDtr(bool on) override;
    int write(const std::uint8_t* data, std::size_t size) override;
    int drain() override;
    void close() override;

private:
    std::string path_;
    int fd_ = -1;
    std::optional<termios> before_;  // the line's settings to give back, when they changed
};

}  // namespace lumiere
