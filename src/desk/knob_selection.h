// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Knob and group selection: clicking a knob makes it the individually chosen one (`actif`) and
// highlights it; the group selector highlights the knobs that move together. The knob pictures
// are read from the program folder at every use; a missing picture leaves the knob as it was.

#include "model/controls.h"
#include "model/form1.h"
#include "model/values.h"

namespace lumiere {

class Platform;

class KnobSelection {
public:
    KnobSelection(Form1& form, AppValues& values, Platform& platform)
        : form_(form), values_(values), platform_(platform) {}

    void potar_MouseDown(int index, int button, int shift, Twips x, Twips y);
    void Slider1_Click();
    // The band below the fader tracks gives the default pointer back.
    void Image4_MouseMove(int button, int shift, Twips x, Twips y);

private:
    void showKnob(int index, bool highlighted);

    Form1& form_;
    AppValues& values_;
    Platform& platform_;
};

}  // namespace lumiere
