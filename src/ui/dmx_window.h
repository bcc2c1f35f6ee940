// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Options > "Sortie DMX…", not modal: "Envoyer vers OLA", the universe, the first channel, the
// value of a lit lamp, the connection state, "Enregistrer" and "Fermer". The close box is
// "Fermer".

#include <QWidget>

#include "app/dmx_option.h"
#include "ui/controls/painted.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace lumiere {
class DmxEvents;
}

namespace lumiere::ui {

class DmxWindow : public QWidget {
    Q_OBJECT

public:
    DmxWindow(const DmxDialog& dialog, DmxEvents& events, QWidget* parent);
    void refresh();

    QCheckBox* enabledBox() const { return enabled_; }
    QLineEdit* universeBox() const { return universe_; }
    QLineEdit* channelBox() const { return channel_; }
    QLineEdit* levelBox() const { return level_; }
    QPushButton* saveButton() const { return save_; }
    QLabel* stateLabel() const { return state_; }
    QLabel* messageLabel() const { return message_; }

protected:
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    DmxEvents& events_;
    const DmxDialog& dialog_;
    QCheckBox* enabled_ = nullptr;
    QLineEdit* universe_ = nullptr;
    QLineEdit* channel_ = nullptr;
    QLineEdit* level_ = nullptr;
    QLabel* state_ = nullptr;
    QLabel* message_ = nullptr;
    QPushButton* save_ = nullptr;
    QPushButton* close_ = nullptr;
    Painted<DmxDialog> shown_;
};

}  // namespace lumiere::ui
