// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Options > "Port série…": the serial devices present, chosen by their path instead of a port
// number. The choice is kept in param.ini as [Port] Peripherique=<path> (the stable
// /dev/serial/by-id/ name when there is one, which survives a replug); "Aucun (numéro COM)"
// removes it and gives the port number back. "Essayer" sends one all-off frame to the selected
// device and says what happened.

#include <memory>
#include <string>
#include <vector>

#include "devices/device_watcher.h"
#include "devices/serial_devices.h"
#include "option/option.h"

namespace lumiere {

// The dialog as the user sees it; texts are Windows-1252, paths the file system's bytes.
struct SerialPortDialog {
    bool visible = false;
    std::vector<devices::SerialDevice> devices;  // after "Aucun (numéro COM)"
    std::string selected;                        // the path selected; empty: "Aucun"
    std::string chosen;                          // the device in use; empty: the port number
    std::string message;                         // what "Essayer" or "Utiliser" did

    bool operator==(const SerialPortDialog&) const = default;
};

class SerialPortOption final : public Option {
public:
    // The devices are listed from `devRoot` (/dev) and the program folder.
    SerialPortOption(std::string devRoot, OptionContext& context);

    const SerialPortDialog& dialog() const { return dialog_; }

    // Start-up: the chosen device, if any, goes to the link; a path that is no serial device is
    // said in the status bar (frames still try it, as for any port).
    void load(const Profile& profile) override;

    void show() override;
    void close() override;
    bool visible() const override { return dialog_.visible; }
    void select(const std::string& path);
    // Twice a second while the dialog is open: the list follows devices plugged or pulled out.
    void watch();
    void tryIt();  // "Essayer"
    void use();    // "Utiliser"

private:
    devices::DeviceTree tree_;
    OptionContext& context_;
    std::unique_ptr<devices::DeviceWatcher> watcher_;
    SerialPortDialog dialog_;
};

// The option as the application makes it.
OptionFactory makeSerialPortOption(std::string devRoot = "/dev");

}  // namespace lumiere
