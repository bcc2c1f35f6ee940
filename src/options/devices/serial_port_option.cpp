// SPDX-License-Identifier: GPL-3.0-or-later
#include "devices/serial_port_option.h"

#include "devices/device_check.h"
#include "link/lamp_link.h"
#include "model/form1.h"
#include "model/platform.h"
#include "settings/port_setting.h"
#include "settings/profile.h"
#include "text/cp1252.h"
#include "text/french.h"

namespace lumiere {

SerialPortOption::SerialPortOption(std::string devRoot, OptionContext& context)
    : tree_{std::move(devRoot), context.platform.programFolder()}, context_(context) {}

void SerialPortOption::load(const Profile& profile) {
    const std::string path = chosenDevice(profile);
    context_.link.chooseDevice(path);
    dialog_.chosen = dialog_.selected = path;
    if (path.empty()) return;
    const devices::DeviceCheck check = devices::checkDevice(path);
    if (!check.usable) {
        context_.form.status.note(fromUtf8("param.ini, [Port] Peripherique : ") + check.reason);
    }
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

void SerialPortOption::watch() {
    if (watcher_ && watcher_->poll()) dialog_.devices = watcher_->devices();
}

void SerialPortOption::tryIt() {
    if (dialog_.selected.empty()) {
        dialog_.message = fromUtf8("Choisissez d’abord un périphérique dans la liste.");
        return;
    }
    dialog_.message =
        devices::tryDevice(context_.port, dialog_.selected, devices::currentUserName()).message;
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
    const int err = updateProfile(context_.profilePath,
                                  [&](Profile& profile) { writeChosenDevice(profile, path); });
    context_.link.chooseDevice(path);
    context_.link.probe();
    dialog_.chosen = path;
    const std::string done =
        path.empty() ? fromUtf8("Les trames vont de nouveau au port COM de Fichier > Paramètres.")
                     : fromUtf8("Les trames vont maintenant à ") + path + ".";
    dialog_.message = err == 0 ? done
                               : done + " Mais " + profileNotSaved(err) +
                                     fromUtf8(" : ce choix vaut pour cette séance seulement.");
}

OptionFactory makeSerialPortOption(std::string devRoot) {
    return [devRoot = std::move(devRoot)](OptionContext& context) {
        return std::make_unique<SerialPortOption>(devRoot, context);
    };
}

}  // namespace lumiere
