// SPDX-License-Identifier: GPL-3.0-or-later
// lumiere-devices-bench [polls]
//
// What the serial device list costs on this machine's /dev and on a crowded fake one (32 serial
// ports, 8 USB adapters with their by-id names, a virtual controller): one full listing, one
// watcher poll while nothing changes, one device check. Medians and 99th percentiles of many
// runs, in microseconds.

#include <stdlib.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "devices/device_check.h"
#include "devices/device_watcher.h"
#include "devices/serial_devices.h"

namespace {

using namespace lumiere::devices;
namespace fs = std::filesystem;

struct Figures {
    double median;
    double p99;
    double max;
};

Figures measure(int runs, const std::function<void()>& run) {
    std::vector<double> us;
    us.reserve(static_cast<std::size_t>(runs));
    for (int i = 0; i < runs; ++i) {
        const auto start = std::chrono::steady_clock::now();
        run();
        us.push_back(
            std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - start)
                .count());
    }
    std::sort(us.begin(), us.end());
    return {us[us.size() / 2], us[us.size() * 99 / 100], us.back()};
}

void print(const char* what, const Figures& f) {
    std::printf("%-48s median %9.2f µs   p99 %9.2f µs   max %9.2f µs\n", what, f.median, f.p99,
                f.max);
}

// A crowded /dev in a temporary folder, removed at the end.
class CrowdedDev {
public:
    CrowdedDev() {
        std::string pattern = (fs::temp_directory_path() / "lumiere-bench-XXXXXX").string();
        root_ = ::mkdtemp(pattern.data());
        fs::create_directories(root_ + "/dev/serial/by-id");
        fs::create_directories(root_ + "/dev/pts");
        fs::create_directories(root_ + "/programme");
        for (int i = 0; i < 32; ++i) touch("dev/ttyS" + std::to_string(i));
        for (int i = 0; i < 64; ++i) touch("dev/tty" + std::to_string(i));
        for (int i = 0; i < 8; ++i) {
            touch("dev/ttyUSB" + std::to_string(i));
            fs::create_symlink("../../ttyUSB" + std::to_string(i),
                               root_ + "/dev/serial/by-id/usb-FTDI_FT232R_USB_UART_A" +
                                   std::to_string(i) + "-if00-port0");
        }
        touch("dev/pts/4");
        fs::create_symlink(root_ + "/dev/pts/4", root_ + "/programme/COM3");
    }
    ~CrowdedDev() { fs::remove_all(root_); }
    CrowdedDev(const CrowdedDev&) = delete;
    CrowdedDev& operator=(const CrowdedDev&) = delete;

    DeviceTree tree() const {
        // Every fourth serial port has a UART, as the sysfs type would say.
        return {root_ + "/dev", root_ + "/programme", [](const std::string& node) {
                    return std::stoi(node.substr(node.rfind("ttyS") + 4)) % 4 == 0;
                }};
    }

private:
    void touch(const std::string& name) const { std::ofstream(root_ + "/" + name); }
    std::string root_;
};

}  // namespace

int main(int argc, char** argv) {
    const int polls = argc > 1 ? std::max(100, std::atoi(argv[1])) : 20000;
    const DeviceTree machine{"/dev", "", uartAnswers};
    const std::vector<SerialDevice> found = listSerialDevices(machine);
    std::printf("This machine: %zu serial device(s)\n", found.size());
    for (const SerialDevice& d : found)
        std::printf("  %s -> %s\n", d.path.c_str(), d.device.c_str());

    print("listing, this machine's /dev", measure(500, [&] { listSerialDevices(machine); }));
    DeviceWatcher quiet(machine);
    // Let /dev settle: a folder changed within the last second is read again on every poll.
    ::sleep(1);
    print("watcher poll, nothing changed, this machine", measure(polls, [&] { quiet.poll(); }));

    const CrowdedDev crowded;
    std::printf("Crowded fake /dev: %zu serial device(s)\n",
                listSerialDevices(crowded.tree()).size());
    print("listing, crowded fake /dev", measure(500, [&] { listSerialDevices(crowded.tree()); }));
    DeviceWatcher watcher(crowded.tree());
    ::sleep(1);
    print("watcher poll, nothing changed, crowded", measure(polls, [&] { watcher.poll(); }));
    print("uartAnswers(/dev/ttyS0), sysfs", measure(500, [] { uartAnswers("/dev/ttyS0"); }));
    print("checkDevice(/dev/ptmx)", measure(polls, [] { checkDevice("/dev/ptmx"); }));
    return 0;
}
