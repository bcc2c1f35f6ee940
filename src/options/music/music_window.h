// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Options > "Musique…", not modal: "Suivre la musique", the sound input (the monitors of this
// computer's outputs included), a live level meter, a lamp that flashes on each beat, the tempo
// found, "Tap" (and the key T while the dialog has the focus), the sensitivity, "Enregistrer" and
// "Fermer".

#include <QTimer>

#include "music/music_option.h"
#include "ui/controls/painted.h"
#include "ui/option_window.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QProgressBar;
class QPushButton;
class QSlider;

namespace lumiere::ui {

class MusicWindow final : public OptionWindow {
public:
    MusicWindow(BoundOption<MusicOption> option, QWidget* parent);
    void refresh() override;

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void closeClicked() override;
    void fillInputs();
    void flash(bool lit);

    BoundOption<MusicOption> option_;
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
    QTimer lampOff_;
    Painted<MusicDialog> shown_;
};

// Options > "Musique…", hearing the music through `services` (empty: this build cannot).
OptionModule musicModule(MusicServices services);

}  // namespace lumiere::ui
