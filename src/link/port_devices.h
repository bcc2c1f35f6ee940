#pragma once
// Port number → device. Port N is a file or link named COM<N> (any letter case) in the program
// folder when there is one — for example `ln -s /dev/ttyUSB0 COM3`, or the virtual controller's
// link — and otherwise the machine's serial port /dev/ttyS<N-1>. N ≤ 0 selects no port.

#include <string>

namespace lumiere {

// The name of port `number` in the program folder and in the messages: "COM3".
std::string comName(int number);

class PortDevices {
public:
    explicit PortDevices(std::string programFolder) : folder_(std::move(programFolder)) {}

    // The device of port `number`, empty for no port. Cheap enough for every frame: the folder is
    // scanned again only when its modification time changes.
    std::string deviceFor(int number);

private:
    std::string folder_;
    int cachedNumber_ = 0;
    long long cachedStamp_ = -1;
    std::string cachedName_;  // the COM<N> entry found in the folder, empty when none
};

}  // namespace lumiere
