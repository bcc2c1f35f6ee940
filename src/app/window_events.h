// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The events the windows forward to the application, one narrow interface per part of a window:
// a view gets the one it forwards, never the whole application. Handler names are the controls'
// own; coordinates are twips relative to the control, button codes those of model/mouse.h.

#include <string>

#include "model/controls.h"

namespace lumiere {

// The desk picture and the controls lying on it.
class DeskEvents {
public:
    virtual void Picture11_MouseMove(int button, int shift, Twips x, Twips y) = 0;
    virtual void Picture11_MouseDown(int button, int shift, Twips x, Twips y) = 0;
    virtual void potar_MouseDown(int index, int button, int shift, Twips x, Twips y) = 0;
    virtual void Image4_MouseMove(int button, int shift, Twips x, Twips y) = 0;
    virtual void inter_Click() = 0;
    virtual void lampe_Click(int index) = 0;

protected:
    ~DeskEvents() = default;
};

// The command buttons and the two sliders below the desk.
class ControlEvents {
public:
    virtual void Command11_Click(int index) = 0;
    virtual void Command11_MouseDown(int index, int button, int shift, Twips x, Twips y) = 0;
    virtual void Slider1_Scroll(int value) = 0;  // the group selector moved
    virtual void Slider1_Click() = 0;
    virtual void Slider2_Scroll(int value) = 0;  // the step length moved

protected:
    ~ControlEvents() = default;
};

// The settings dialog `Form2`.
class SettingsEvents {
public:
    virtual void Text1_Change(const std::string& text) = 0;
    virtual void Text2_Change(const std::string& text) = 0;
    virtual void Command2_Click() = 0;   // "Enregistrer"
    virtual void Command12_Click() = 0;  // "Annuler"
    virtual void Form2_Close() = 0;      // the close box

protected:
    ~SettingsEvents() = default;
};

// The main window itself: its menus, its closing and its timers.
class WindowEvents {
public:
    virtual void Form_Unload() = 0;
    virtual void n_quit_Click() = 0;
    virtual void n_a_propos_Click() = 0;
    virtual void n_param_Click() = 0;
    virtual void Timer1_Timer() = 0;
    virtual void Timer3_Timer() = 0;
    virtual void Timer4_Timer() = 0;
    virtual void runnerWake() = 0;  // the sequence runner's time has come

protected:
    ~WindowEvents() = default;
};

}  // namespace lumiere
