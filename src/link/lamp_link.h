// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The lamp link: every frame to the lamp controller goes through `envoi`. A frame is the letter
// "n" (0x6E) then the pattern byte, written in one call; the port is opened for the frame and
// closed right after it.
//
// A frame that cannot be sent (no port, a missing or busy device, no permission, an unplugged
// cable) is dropped and the program goes on; the next frame tries again. The link keeps one
// French description of the failure until a frame gets through, for the window to show.

#include <cstdint>
#include <string>

#include "link/frame_sender.h"
#include "link/port_devices.h"
#include "link/serial_port.h"

namespace lumiere {

class LampLink final : public FrameSender {
public:
    LampLink(SerialPort& port, PortDevices devices) : port_(port), devices_(std::move(devices)) {}

    // Sends one frame with the value rounded half to even; a value outside 0 to 255 is refused.
    // Nothing is sent once the link is sealed.
    void envoi(double value) override;

    // After the all-off frame of shutdown: no other frame may follow it.
    void seal() { sealed_ = true; }

    // Looks at the device of the current port without opening it and sets or clears the fault
    // accordingly, so the window can say at once that a port is missing.
    void probe();

    // Takes effect at the next frame.
    void setPortNumber(int number) { portNumber_ = number; }
    int portNumber() const { return portNumber_; }
    // A device chosen by its path, used instead of the port number; empty for the number.
    void chooseDevice(const std::string& path) { devices_.choose(path); }
    const std::string& chosenDevice() const { return devices_.chosen(); }

    // Empty while frames get through; otherwise what went wrong, in Windows-1252 French.
    const std::string& fault() const { return fault_; }
    std::uint64_t framesSent() const { return framesSent_; }

private:
    void fail(int errnum);
    void setFault(int errnum);
    void failValue(double value);

    SerialPort& port_;
    PortDevices devices_;
    int portNumber_ = 0;
    bool sealed_ = false;
    std::string device_;   // the device of the current or last frame
    std::string checked_;  // the device last looked at for a reason to refuse it
    int refusal_ = 0;      // that reason (a terminal in use, a control character), or 0
    std::string fault_;
    std::uint64_t framesSent_ = 0;
};

}  // namespace lumiere
