// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Options > "Port série…", not modal: the serial devices present (the list follows devices
// plugged or pulled out within a second), "Aucun (numéro COM)" first, "Essayer", "Utiliser" and
// "Fermer". The close box is "Fermer".

#include <QTimer>
#include <QWidget>

#include "app/serial_port_option.h"
#include "ui/controls/painted.h"

class QLabel;
class QListWidget;
class QPushButton;

namespace lumiere {
class SerialPortEvents;
}

namespace lumiere::ui {

class SerialPortWindow : public QWidget {
    Q_OBJECT

public:
    SerialPortWindow(const SerialPortDialog& dialog, SerialPortEvents& events, QWidget* parent);
    void refresh();

    QListWidget* list() const { return list_; }
    QPushButton* tryButton() const { return try_; }
    QPushButton* useButton() const { return use_; }
    QLabel* messageLabel() const { return message_; }
    QLabel* chosenLabel() const { return chosen_; }

protected:
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void fillList();

    SerialPortEvents& events_;
    const SerialPortDialog& dialog_;
    QListWidget* list_ = nullptr;
    QLabel* chosen_ = nullptr;
    QLabel* message_ = nullptr;
    QPushButton* try_ = nullptr;
    QPushButton* use_ = nullptr;
    QPushButton* close_ = nullptr;
    QTimer watch_;
    Painted<SerialPortDialog> shown_;
};

}  // namespace lumiere::ui
