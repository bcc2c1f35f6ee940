// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The serial port as the lamp link uses it: one device, opened for a frame and closed right after.
// Every operation returns 0 or an errno value.

#include <cstddef>
#include <cstdint>
#include <string>

namespace lumiere {

class SerialPort {
public:
    virtual ~SerialPort() = default;

    // The device the next open uses.
    virtual void setDevice(const std::string& path) = 0;
    // Opens the device at 9600 bit/s, 8 data bits, no parity, one stop bit, no flow control.
    virtual int open() = 0;
    virtual bool isOpen() const = 0;
    // ENOTTY or EINVAL means the device has no modem lines (a pseudo-terminal, some USB bridges).
    virtual int setDtr(bool on) = 0;
    // Writes all bytes in one call.
    virtual int write(const std::uint8_t* data, std::size_t size) = 0;
    // Waits until the bytes have left the port.
    virtual int drain() = 0;
    virtual void close() = 0;
};

}  // namespace lumiere
