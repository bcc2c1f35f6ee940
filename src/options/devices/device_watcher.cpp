// SPDX-License-Identifier: GPL-3.0-or-later
#include "devices/device_watcher.h"

#include <sys/stat.h>

#include <algorithm>
#include <ctime>

namespace lumiere::devices {
namespace {

constexpr long long kNsPerSecond = 1'000'000'000LL;
// A folder changed this recently may change again within the same timestamp: read it again.
constexpr long long kSettleNs = kNsPerSecond;
constexpr long long kMissing = -1;

long long modified(const std::string& folder) {
    struct stat st {};
    if (folder.empty() || ::stat(folder.c_str(), &st) != 0) return kMissing;
    return static_cast<long long>(st.st_mtim.tv_sec) * kNsPerSecond + st.st_mtim.tv_nsec;
}

long long wallClockNs() {
    timespec now{};
    ::clock_gettime(CLOCK_REALTIME, &now);
    return static_cast<long long>(now.tv_sec) * kNsPerSecond + now.tv_nsec;
}

}  // namespace

DeviceWatcher::DeviceWatcher(DeviceTree tree)
    : tree_(std::move(tree)), stamps_(stamps()), devices_(listSerialDevices(tree_)) {}

bool DeviceWatcher::poll() {
    std::vector<long long> now = stamps();
    const long long settled = wallClockNs() - kSettleNs;
    const bool recent =
        std::any_of(now.begin(), now.end(), [&](long long s) { return s > settled; });
    if (now == stamps_ && !recent) return false;
    stamps_ = std::move(now);
    std::vector<SerialDevice> fresh = listSerialDevices(tree_);
    if (fresh == devices_) return false;
    devices_ = std::move(fresh);
    return true;
}

std::vector<long long> DeviceWatcher::stamps() const {
    return {modified(tree_.devRoot), modified(tree_.devRoot + "/serial/by-id"),
            modified(tree_.devRoot + "/pts"), modified(tree_.programFolder)};
}

}  // namespace lumiere::devices
