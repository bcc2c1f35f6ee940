// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/serial_port_option.h"

#include "devices/device_check.h"
#include "settings/port_setting.h"
#include "settings/profile.h"
#include "text/cp1252.h"
#include "text/french.h"

namespace lumiere {

SerialPortOption::SerialPortOption(devices::DeviceTree tree, LampLink& link, SerialPort& port,
                                   std::string profilePath)
    : tree_(std::move(tree)), link_(link), port_(port), profilePath_(std::move(profilePath)) {}

void SerialPortOption::load(const Profile& profile, StatusBar& status) {
    const std::string path = chosenDevice(profile);
    link_.chooseDevice(path);
    dialog_.chosen = dialog_.selected = path;
    if (path.empty()) return;
    const devices::DeviceCheck check = devices::checkDevice(path);
    if (!check.usable) status.note(fromUtf8("param.ini, [Port] Peripherique : ") + check.reason);
}

void SerialPortOption::show() {
    if (!watcher_) watcher_ = std::make_unique<devices::DeviceWatcher>(tree_);
    dialog_.devices = watcher_->devices();
    dialog_.selected = dialog_.chosen;
    dialog_.message.clear();
    dialog_.visible = true;
}

void SerialPortOption::close() {
    dialog_.visible = false;
    watcher_.reset();  // nothing is watched while the dialog is closed
}

void SerialPortOption::select(const std::string& path) {
    dialog_.selected = path;
}

void SerialPortOption::poll() {
    if (watcher_ && watcher_->poll()) dialog_.devices = watcher_->devices();
}

void SerialPortOption::tryIt() {
    if (dialog_.selected.empty()) {
        dialog_.message = fromUtf8("Choisissez d’abord un périphérique dans la liste.");
        return;
    }
    dialog_.message =
        devices::tryDevice(port_, dialog_.selected, devices::currentUserName()).message;
}

void SerialPortOption::use() {
    const std::string path = dialog_.selected;
    if (!path.empty()) {
        const devices::DeviceCheck check = devices::checkDevice(path);
        if (!check.usable) {
            dialog_.message = check.reason + fromUtf8(" Rien n’a été enregistré.");
            return;
        }
    }
    const int err =
        updateProfile(profilePath_, [&](Profile& profile) { writeChosenDevice(profile, path); });
    link_.chooseDevice(path);
    link_.probe();
    dialog_.chosen = path;
    const std::string done =
        path.empty() ? fromUtf8("Les trames vont de nouveau au port COM de Fichier > Paramètres.")
                     : fromUtf8("Les trames vont maintenant à ") + path + ".";
    dialog_.message = err == 0 ? done
                               : done + " Mais " + profileNotSaved(err) +
                                     fromUtf8(" : ce choix vaut pour cette séance seulement.");
}

}  // namespace lumiere
