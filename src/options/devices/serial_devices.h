// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The serial devices of this machine, in the order the settings list shows them:
//   1. the stable names under <dev>/serial/by-id/ (they survive a replug), sorted by name;
//   2. /dev/ttyUSB*, then /dev/ttyACM*, each in number order;
//   3. the /dev/ttyS* ports whose UART is really there;
//   4. the virtual controller's line: a symbolic link COM<digits> (any letter case) in the
//      program folder pointing at a pseudo-terminal under <dev>/pts/.
// A device reached through a by-id name is not listed again under its kernel name, and a by-id
// link whose device is gone is left out.
//
// Labels are Windows-1252 French, like every text of the core; paths are the file system's bytes.

#include <functional>
#include <string>
#include <vector>

namespace lumiere::devices {

struct SerialDevice {
    std::string path;    // what to save in the settings: the by-id name when there is one
    std::string device;  // the device node the path resolves to (/dev/ttyUSB0, /dev/pts/3)
    std::string label;   // a short French text for a list

    bool operator==(const SerialDevice&) const = default;
};

// Says whether the UART behind a /dev/ttyS* node is really there.
using UartProbe = std::function<bool(const std::string& node)>;

// The default probe: the port's UART type, read from /sys/class/tty/<name>/type without opening
// the port, or (when sysfs has no such entry) asked with the TIOCGSERIAL ioctl; any type but
// PORT_UNKNOWN is a real UART. Reading sysfs first matters: opening a serial port raises its DTR
// and RTS lines, which a lamp controller on that port would see.
bool uartAnswers(const std::string& node);

// Where to look. Tests point `devRoot` at a fake tree and inject the probe.
struct DeviceTree {
    std::string devRoot = "/dev";
    std::string programFolder;  // where the virtual controller links COM<N>; empty for none
    UartProbe isRealUart = uartAnswers;
};

// Reads the tree once. Never opens a port except through the probe's fallback.
std::vector<SerialDevice> listSerialDevices(const DeviceTree& tree);

}  // namespace lumiere::devices
