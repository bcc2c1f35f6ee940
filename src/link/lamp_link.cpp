// SPDX-License-Identifier: GPL-3.0-or-later
#include "link/lamp_link.h"

#include "link/frame.h"
#include "link/posix_serial_port.h"

#include <sys/stat.h>

#include <cerrno>
#include <cmath>

#include "text/cp1252.h"
#include "text/french.h"
#include "text/number.h"

namespace lumiere {

void LampLink::envoi(double value) {
    if (sealed_) return;
    if (!port_.isOpen()) {
        device_ = devices_.deviceFor(portNumber_);
        if (device_.empty()) return fail(0);
        // A device is looked at once, when the frames start going to it.
        if (device_ != checked_) {
            checked_ = device_;
            refusal_ = terminalRefusal(device_);
        }
        if (refusal_ != 0) return fail(refusal_);
        port_.setDevice(device_);
        if (const int err = port_.open(); err != 0) return fail(err);
    }
    // A device without modem lines refuses DTR; that is no reason to drop the frame.
    if (const int err = port_.setDtr(false); err != 0 && err != ENOTTY && err != EINVAL) {
        return fail(err);
    }
    const double rounded = roundHalfEven(value);
    if (!(rounded >= 0 && rounded <= 255)) return failValue(value);
    const auto frame = LampFrame{static_cast<std::uint8_t>(rounded)}.bytes();
    if (const int err = port_.write(frame.data(), frame.size()); err != 0) return fail(err);
    const int drained = port_.drain();
    port_.close();
    if (drained != 0 && drained != EINTR) return fail(drained);
    ++framesSent_;
    fault_.clear();
}

void LampLink::probe() {
    device_ = devices_.deviceFor(portNumber_);
    if (device_.empty()) return setFault(0);
    struct stat st {};
    if (::stat(device_.c_str(), &st) != 0) return setFault(errno);
    if (!S_ISCHR(st.st_mode)) return setFault(S_ISDIR(st.st_mode) ? EISDIR : ENOTTY);
    checked_ = device_;
    refusal_ = terminalRefusal(device_);
    if (refusal_ != 0) return setFault(refusal_);
    fault_.clear();
}

void LampLink::fail(int errnum) {
    port_.close();
    setFault(errnum);
}

void LampLink::setFault(int errnum) {
    const std::string port = comName(portNumber_);
    if (errnum == 0) {
        fault_ = fromUtf8("Aucun port série choisi (" + port +
                          ") : les lampes ne reçoivent rien. Réglez-le dans Fichier > Paramètres.");
        return;
    }
    // A device chosen by its path is named by that path alone; a control character in it shows
    // as "?", so the message stays on its line.
    std::string shown = device_;
    for (char& c : shown) {
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) c = '?';
    }
    std::string text = devices_.chosen().empty() ? fromUtf8("Port " + port + " (" + shown + ") : ")
                                                 : fromUtf8("Périphérique " + shown + " : ");
    text += describeError(errnum);
    if (errnum == EACCES || errnum == EPERM) {
        text += fromUtf8(" (ajoutez l’utilisateur au groupe dialout)");
    }
    fault_ = text + fromUtf8(" — trames non envoyées.");
}

void LampLink::failValue(double value) {
    port_.close();
    const std::string shown = std::isfinite(value) && std::abs(value) < 1e15
                                  ? std::to_string(static_cast<long long>(value))
                                  : std::string("hors format");
    fault_ = fromUtf8("Valeur " + shown + " hors de 0 à 255 : trame non envoyée.");
}

}  // namespace lumiere
