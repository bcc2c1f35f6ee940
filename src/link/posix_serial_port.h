// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The serial port on a POSIX system through termios.

#include "link/serial_port.h"

namespace lumiere {

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
};

}  // namespace lumiere
