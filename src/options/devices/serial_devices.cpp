// SPDX-License-Identifier: GPL-3.0-or-later
#include "devices/serial_devices.h"

#include <dirent.h>
#include <fcntl.h>
#include <linux/serial.h>
#include <strings.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <optional>
#include <set>

#include "text/cp1252.h"

namespace lumiere::devices {
namespace {

constexpr std::size_t kLabelNameLimit = 40;  // characters of a by-id name kept in its label

bool allDigits(std::string_view text) {
    return std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

std::vector<std::string> namesIn(const std::string& folder) {
    std::vector<std::string> names;
    std::unique_ptr<DIR, int (*)(DIR*)> dir(::opendir(folder.c_str()), ::closedir);
    if (!dir) return names;
    while (const dirent* entry = ::readdir(dir.get())) {
        const std::string name = entry->d_name;
        if (name != "." && name != "..") names.push_back(name);
    }
    std::sort(names.begin(), names.end());
    return names;
}

// The path with every link followed; empty when it leads nowhere.
std::string resolve(const std::string& path) {
    char resolved[PATH_MAX];
    return ::realpath(path.c_str(), resolved) != nullptr ? std::string(resolved) : std::string();
}

bool isSymlink(const std::string& path) {
    struct stat st {};
    return ::lstat(path.c_str(), &st) == 0 && S_ISLNK(st.st_mode);
}

// The number of `name` when it is `prefix` followed by digits only.
std::optional<long> numberAfter(const std::string& name, const std::string& prefix) {
    if (name.size() <= prefix.size() || name.compare(0, prefix.size(), prefix) != 0) return {};
    const std::string digits = name.substr(prefix.size());
    if (digits.size() > 9 || !allDigits(digits)) return {};
    return std::stol(digits);
}

std::string baseName(const std::string& path) {
    const auto slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// "usb-FTDI_FT232R_USB_UART_A600-if00-port0" reads "USB FTDI FT232R USB UART A600".
std::string readableById(const std::string& name) {
    std::string text = name;
    std::string bus;
    for (const auto& [prefix, shown] : {std::pair{"usb-", "USB "}, std::pair{"pci-", "PCI "}}) {
        if (text.rfind(prefix, 0) == 0) {
            text.erase(0, std::char_traits<char>::length(prefix));
            bus = shown;
        }
    }
    if (const auto at = text.rfind("-if"); at != std::string::npos && at > 0) text.erase(at);
    std::string words;
    for (const char c : text) {
        const char shown = c == '_' ? ' ' : c;
        if (shown == ' ' && (words.empty() || words.back() == ' ')) continue;
        words += shown;
    }
    while (!words.empty() && words.back() == ' ') words.pop_back();
    if (words.size() > kLabelNameLimit) words = words.substr(0, kLabelNameLimit) + "…";
    return bus + words;
}

struct KernelFamily {
    const char* prefix;
    const char* label;  // followed by " (<kernel name>)"
};

void listKernelFamily(const DeviceTree& tree, const std::vector<std::string>& names,
                      const KernelFamily& family, const std::set<std::string>& known,
                      std::vector<SerialDevice>& out) {
    std::vector<std::pair<long, std::string>> found;
    for (const std::string& name : names) {
        if (const auto number = numberAfter(name, family.prefix)) found.emplace_back(*number, name);
    }
    std::sort(found.begin(), found.end());
    const bool uart = std::string_view(family.prefix) == "ttyS";
    for (const auto& [number, name] : found) {
        const std::string path = tree.devRoot + "/" + name;
        const std::string device = resolve(path);
        if (device.empty() || known.count(device) != 0) continue;
        if (uart && !(tree.isRealUart && tree.isRealUart(path))) continue;
        // Port N of the program is /dev/ttyS<N-1>: name the serial port as the settings do.
        const std::string label =
            uart ? "Port série COM" + std::to_string(number + 1) + " (" + name + ")"
                 : std::string(family.label) + " (" + name + ")";
        out.push_back({path, device, fromUtf8(label)});
    }
}

void listVirtualLines(const DeviceTree& tree, std::vector<SerialDevice>& out) {
    if (tree.programFolder.empty()) return;
    const std::string pts = resolve(tree.devRoot + "/pts");
    if (pts.empty()) return;
    for (const std::string& name : namesIn(tree.programFolder)) {
        if (name.size() < 4 || ::strncasecmp(name.c_str(), "COM", 3) != 0) continue;
        if (!allDigits(std::string_view(name).substr(3))) continue;
        const std::string path = tree.programFolder + "/" + name;
        if (!isSymlink(path)) continue;
        const std::string device = resolve(path);
        if (device.rfind(pts + "/", 0) != 0) continue;  // not a pseudo-terminal, or gone
        out.push_back({path, device, fromUtf8("Contrôleur virtuel (" + name + ")")});
    }
}

}  // namespace

bool uartAnswers(const std::string& node) {
    std::ifstream sysfs("/sys/class/tty/" + baseName(node) + "/type");
    int type = PORT_UNKNOWN;
    if (sysfs >> type) return type != PORT_UNKNOWN;
    const int fd = ::open(node.c_str(), O_RDONLY | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return false;
    serial_struct info{};
    const bool answered = ::ioctl(fd, TIOCGSERIAL, &info) == 0;
    ::close(fd);
    return answered && info.type != PORT_UNKNOWN;
}

std::vector<SerialDevice> listSerialDevices(const DeviceTree& tree) {
    std::vector<SerialDevice> devices;
    std::set<std::string> known;  // devices already listed, by their resolved node

    const std::string byId = tree.devRoot + "/serial/by-id";
    for (const std::string& name : namesIn(byId)) {
        const std::string path = byId + "/" + name;
        const std::string device = resolve(path);
        if (device.empty() || !known.insert(device).second) continue;
        const std::string label = readableById(name) + " (" + baseName(device) + ")";
        devices.push_back({path, device, fromUtf8(label)});
    }

    const std::vector<std::string> names = namesIn(tree.devRoot);
    for (const KernelFamily& family :
         {KernelFamily{"ttyUSB", "Adaptateur USB série"},
          KernelFamily{"ttyACM", "Appareil USB série"}, KernelFamily{"ttyS", ""}}) {
        listKernelFamily(tree, names, family, known, devices);
    }
    listVirtualLines(tree, devices);
    return devices;
}

}  // namespace lumiere::devices
