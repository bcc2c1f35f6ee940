// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Options > "Port série…", not modal: the serial devices present (the list follows devices
// plugged or pulled out within a second), "Aucun (numéro COM)" first, "Essayer", "Utiliser" and
// "Fermer".

#include <QTimer>

#include "devices/serial_port_option.h"
#include "ui/controls/painted.h"
#include "ui/option_window.h"

class QLabel;
class QListWidget;

namespace lumiere::ui {

class SerialPortWindow final : public OptionWindow {
public:
    SerialPortWindow(BoundOption<SerialPortOption> option, QWidget* parent);
    void refresh() override;

private:
    void closeClicked() override;
    void fillList();

    BoundOption<SerialPortOption> option_;
    QListWidget* list_ = nullptr;
    QLabel* chosen_ = nullptr;
    QLabel* message_ = nullptr;
    QTimer watch_;
    Painted<SerialPortDialog> shown_;
};

// Options > "Port série…", the devices listed from `devRoot`.
OptionModule serialPortModule(std::string devRoot = "/dev");

}  // namespace lumiere::ui
