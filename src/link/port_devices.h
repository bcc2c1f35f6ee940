// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Port number → device. Port N is a file or link named COM<N> (any letter case) in the program
// folder when there is one — for example `ln -s /dev/ttyUSB0 COM3`, or the virtual controller's
// link — and otherwise the machine's serial port /dev/ttyS<N-1>. N ≤ 0 selects no port.

#include <string>

namespace lumiere {

// The name of port `number` in the program folder and in the messages: "COM3".
std::string comName(int number);

// Where the machine's own serial ports are: /dev/ttyS0, /dev/ttyS1 …
inline constexpr const char* kSystemSerialPorts = "/dev/ttyS";

class PortDevices {
public:
    // `systemPorts` is the prefix of the machine's ports; tests give one where no port exists.
    explicit PortDevices(std::string programFolder, std::string systemPorts = kSystemSerialPorts)
        : folder_(std::move(programFolder)), systemPorts_(std::move(systemPorts)) {}

    // The device of port `number`, empty for no port. Cheap enough for every frame: the folder is
    // scanned again only when its modification time changes. A device chosen by its path wins
    // over the number.
    std::string deviceFor(int number);

    // A device chosen by its path (param.ini's Peripherique); empty gives the number rule back.
    void choose(std::string path) { chosen_ = std::move(path); }
    const std::string& chosen() const { return chosen_; }

private:
    std::string folder_;
    std::string systemPorts_;
    std::string chosen_;
    int cachedNumber_ = 0;
    long long cachedStamp_ = -1;
    std::string cachedName_;  // the COM<N> entry found in the folder, empty when none
};

}  // namespace lumiere
