// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Options > "Musique…", not modal: "Suivre la musique", the sound input (the monitors of this
// computer's outputs included), a live level meter, a lamp that flashes on each beat, the tempo
// found, "Tap" (and the key T while the dialog has the focus), the sensitivity, "Enregistrer" and
// "Fermer". The close box is "Fermer".

#include <QTimer>
#include <QWidget>

#include "app/music_option.h"
#include "ui/controls/painted.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QProgressBar;
class QPushButton;
class QSlider;

namespace lumiere {
class MusicEvents;
}

namespace lumiere::ui {

class MusicWindow : public QWidget {
    Q_OBJECT

public:
    MusicWindow(const MusicDialog& dialog, MusicEvents& events, QWidget* parent);
    void refresh();

    QCheckBox* followBox() const { return follow_; }
    QComboBox* inputBox() const { return input_; }
    QPushButton* tapButton() const { return tap_; }
    QLabel* tempoLabel() const { return tempo_; }
    QLabel* beatLamp() const { return lamp_; }
    QLabel* stateLabel() const { return state_; }

protected:
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void fillInputs();
    void flash(bool lit);

    MusicEvents& events_;
    const MusicDialog& dialog_;
    QCheckBox* follow_ = nullptr;
    QComboBox* input_ = nullptr;
    QPushButton* refresh_ = nullptr;
    QProgressBar* meter_ = nullptr;
    QLabel* lamp_ = nullptr;
    QLabel* tempo_ = nullptr;
    QPushButton* tap_ = nullptr;
    QSlider* sensitivity_ = nullptr;
    QLabel* state_ = nullptr;
    QLabel* message_ = nullptr;
    QPushButton* save_ = nullptr;
    QPushButton* close_ = nullptr;
    QTimer lampOff_;
    Painted<MusicDialog> shown_;
};

}  // namespace lumiere::ui
