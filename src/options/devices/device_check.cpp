// SPDX-License-Identifier: GPL-3.0-or-later
#include "devices/device_check.h"

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "link/frame.h"
#include "link/posix_serial_port.h"
#include "text/cp1252.h"
#include "text/french.h"

namespace lumiere::devices {
namespace {

DeviceCheck refuse(const std::string& utf8) {
    return {false, fromUtf8(utf8)};
}

// What the path is, when it is no serial port.
const char* kindOf(mode_t mode) {
    if (S_ISREG(mode)) return "un fichier ordinaire";
    if (S_ISDIR(mode)) return "un dossier";
    if (S_ISFIFO(mode)) return "un tube nommé";
    if (S_ISSOCK(mode)) return "une socket";
    if (S_ISBLK(mode)) return "un périphérique de stockage";
    return "un fichier spécial";
}

// Closes the port on every way out.
class ClosingPort {
public:
    explicit ClosingPort(SerialPort& port) : port_(port) {}
    ~ClosingPort() { port_.close(); }
    ClosingPort(const ClosingPort&) = delete;
    ClosingPort& operator=(const ClosingPort&) = delete;

private:
    SerialPort& port_;
};

TryOutcome failed(const std::string& utf8Start, int errnum) {
    return {false, fromUtf8(utf8Start + " : ") + describeError(errnum) + "."};
}

}  // namespace

DeviceCheck checkDevice(const std::string& path) {
    if (path.empty()) return refuse("Aucun périphérique choisi.");
    if (terminalRefusal(path) == kControlCharacter) {
        return {false,
                fromUtf8("Le chemin du périphérique ") + describeError(kControlCharacter) + "."};
    }
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) {
        const int err = errno;
        struct stat link {};
        if (err == ENOENT && ::lstat(path.c_str(), &link) == 0 && S_ISLNK(link.st_mode)) {
            return refuse("Le lien " + path +
                          " ne mène à aucun périphérique : l’adaptateur est-il branché ?");
        }
        if (err == ENOENT) return refuse("Le périphérique " + path + " est introuvable.");
        return {false, fromUtf8(path + " : ") + describeError(err) + "."};
    }
    if (S_ISCHR(st.st_mode)) {
        if (const int refused = terminalRefusal(path); refused != 0) {
            return {false, fromUtf8(path + " : ") + describeError(refused) + "."};
        }
        return {true, {}};
    }
    return refuse(path + " est " + kindOf(st.st_mode) + ", pas un port série.");
}

TryOutcome tryDevice(SerialPort& port, const std::string& path, const std::string& userName) {
    const DeviceCheck check = checkDevice(path);
    if (!check.usable) return {false, fromUtf8("Essai impossible. ") + check.reason};

    port.setDevice(path);
    const ClosingPort closing(port);
    if (const int err = port.open(); err != 0) {
        if (err == EACCES || err == EPERM) {
            const std::string user = userName.empty() ? "$USER" : userName;
            return {false, fromUtf8("Accès refusé à " + path + " : l’utilisateur " + user +
                                    " n’est pas dans le groupe dialout. Lancez « sudo adduser " +
                                    user + " dialout », puis fermez la session et rouvrez-la.")};
        }
        return failed("Impossible d’ouvrir " + path, err);
    }
    // A device without modem lines refuses DTR; the frame goes all the same.
    if (const int err = port.setDtr(false); err != 0 && err != ENOTTY && err != EINVAL) {
        return failed("Impossible de couper la ligne DTR de " + path, err);
    }
    const auto allOff = LampFrame{0}.bytes();
    if (const int err = port.write(allOff.data(), allOff.size()); err != 0) {
        return failed("Impossible d’écrire sur " + path, err);
    }
    if (const int err = port.drain(); err != 0 && err != EINTR) {
        return failed("La trame n’a pas fini de partir sur " + path, err);
    }
    return {true, fromUtf8("Trame « tout éteint » envoyée à " + path +
                           " : les huit lampes doivent être éteintes.")};
}

TryOutcome tryDevice(const std::string& path) {
    PosixSerialPort port;
    return tryDevice(port, path, currentUserName());
}

std::string currentUserName() {
    std::vector<char> buffer(16384);
    passwd entry{};
    passwd* found = nullptr;
    if (::getpwuid_r(::getuid(), &entry, buffer.data(), buffer.size(), &found) == 0 && found) {
        return found->pw_name;
    }
    const char* user = std::getenv("USER");
    return user != nullptr ? user : "";
}

}  // namespace lumiere::devices
