// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Fader tracking on the desk picture. The knobs of the selected group follow the pointer's height
// anywhere over the desk, the individually chosen knob (`actif`) while the pointer is over its
// column; no mouse button is needed. After every movement in the fader band the nine levels are
// refreshed (`calcul_niveaux`) and the master level sets the speed of the sequence player.

#include "model/controls.h"
#include "model/form1.h"
#include "model/values.h"

namespace lumiere {

class Show;

class Faders {
public:
    Faders(Form1& form, AppValues& values, Show& show)
        : form_(form), values_(values), show_(show) {}

    void Picture11_MouseMove(int button, int shift, Twips x, Twips y);
    // A right click cancels the group selection and gives the pointer to the master strip.
    void Picture11_MouseDown(int button, int shift, Twips x, Twips y);

    // The level refresh of strips 0 to 8: `compteur`, the `niveau` captions and the gauges follow
    // the knob tops. The switch and the sequence runner use it too.
    void calcul_niveaux();

    // The level of a knob top: the largest whole number not above 21 − |3090 − top| / 110.
    static int levelOf(Twips top);
    // The knob of `strip` moved to the middle of the heights that give `level` (0 to 20), then
    // the levels refreshed as after a movement of the pointer.
    void moveTo(int strip, int level);

private:
    // After knobs moved: the levels, and the master's speed for the player.
    void levelsMoved();
    void followGroup(const int* knobs, int reference, Twips y);

    Form1& form_;
    AppValues& values_;
    Show& show_;
};

}  // namespace lumiere
