// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Is a path usable as the lamp controller's serial device, and does a frame get through?
// Texts are Windows-1252 French sentences, like every text of the core.

#include <string>

#include "link/serial_port.h"

namespace lumiere::devices {

struct DeviceCheck {
    bool usable = false;
    std::string reason;  // why the path is refused; empty when it is usable
};

// Looks at the path without opening it, so it never blocks: a character device is accepted;
// a missing path, a link that leads nowhere (an unplugged adapter's by-id name), a regular file,
// a folder, a pipe, a socket or a block device are refused with the reason.
DeviceCheck checkDevice(const std::string& path);

struct TryOutcome {
    bool sent = false;
    std::string message;  // what happened, to show beside the "Essayer" button
};

// "Essayer": sends one all-off frame (0x6E 0x00) to `path` through `port` the way the lamp link
// does (open, DTR off, both bytes in one write, drain, close). When the device refuses the user,
// the message says how to join the dialout group. `userName` is the name that advice uses.
TryOutcome tryDevice(SerialPort& port, const std::string& path, const std::string& userName);

// The same with the program's own serial adapter and the user running the program.
TryOutcome tryDevice(const std::string& path);

// The login name of the user running the program ($USER when the password base has no entry).
std::string currentUserName();

}  // namespace lumiere::devices
