#include "link/port_devices.h"

#include <dirent.h>
#include <strings.h>
#include <sys/stat.h>

#include <memory>

namespace lumiere {
namespace {

long long folderStamp(const std::string& folder) {
    struct stat st {};
    if (::stat(folder.c_str(), &st) != 0) return -2;
    return static_cast<long long>(st.st_mtim.tv_sec) * 1000000000LL + st.st_mtim.tv_nsec;
}

std::string findEntry(const std::string& folder, const std::string& wanted) {
    std::unique_ptr<DIR, int (*)(DIR*)> dir(::opendir(folder.c_str()), ::closedir);
    if (!dir) return {};
    std::string found;
    while (const dirent* entry = ::readdir(dir.get())) {
        if (::strcasecmp(entry->d_name, wanted.c_str()) != 0) continue;
        if (wanted == entry->d_name) return wanted;  // the exact name wins
        if (found.empty()) found = entry->d_name;
    }
    return found;
}

}  // namespace

std::string PortDevices::deviceFor(int number) {
    if (number <= 0) return {};
    const long long stamp = folderStamp(folder_);
    if (number != cachedNumber_ || stamp != cachedStamp_) {
        cachedNumber_ = number;
        cachedStamp_ = stamp;
        cachedName_ = findEntry(folder_, "COM" + std::to_string(number));
    }
    if (!cachedName_.empty()) return folder_ + "/" + cachedName_;
    return "/dev/ttyS" + std::to_string(number - 1);
}

}  // namespace lumiere
