// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Notices serial devices being plugged in or pulled out, and the virtual controller starting or
// stopping, by polling. A poll costs a few stat() calls while nothing changes: the list is read
// again only when one of the folders it comes from (<dev>, <dev>/serial/by-id, <dev>/pts, the
// program folder) has a new modification time, or changed less than a second ago (a second
// change within the same timestamp tick would otherwise go unseen). Nothing here blocks.
//
// Driving it from the window: a QTimer of 500 ms in the event loop calls poll(); when it returns
// true, the window refills its list from devices(). A device plugged in is then listed within
// half a second (plus the time udev takes to make its by-id name).

#include <vector>

#include "devices/serial_devices.h"

namespace lumiere::devices {

class DeviceWatcher {
public:
    // Reads the list once.
    explicit DeviceWatcher(DeviceTree tree);

    // True when the list differs from the one devices() returned before.
    bool poll();

    const std::vector<SerialDevice>& devices() const { return devices_; }

private:
    std::vector<long long> stamps() const;

    DeviceTree tree_;
    std::vector<long long> stamps_;
    std::vector<SerialDevice> devices_;
};

}  // namespace lumiere::devices
