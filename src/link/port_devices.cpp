// SPDX-License-Identifier: GPL-3.0-or-later
#include "link/port_devices.h"

#include <sys/stat.h>

#include "io/folder.h"

namespace lumiere {
namespace {

long long folderStamp(const std::string& folder) {
    struct stat st {};
    if (::stat(folder.c_str(), &st) != 0) return -2;
    return static_cast<long long>(st.st_mtim.tv_sec) * 1000000000LL + st.st_mtim.tv_nsec;
}

}  // namespace

std::string comName(int number) {
    return "COM" + std::to_string(number);
}

std::string PortDevices::deviceFor(int number) {
    if (!chosen_.empty()) return chosen_;
    if (number <= 0) return {};
    const long long stamp = folderStamp(folder_);
    if (number != cachedNumber_ || stamp != cachedStamp_) {
        cachedNumber_ = number;
        cachedStamp_ = stamp;
        const auto names = entriesNamedIgnoringCase(folder_, comName(number));
        cachedName_ = names.empty() ? std::string() : names.front();  // the exact name wins
    }
    if (!cachedName_.empty()) return folder_ + "/" + cachedName_;
    return systemPorts_ + std::to_string(number - 1);
}

}  // namespace lumiere
