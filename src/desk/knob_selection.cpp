// SPDX-License-Identifier: GPL-3.0-or-later
#include "desk/knob_selection.h"

#include "model/mouse.h"
#include "model/picture_names.h"
#include "model/platform.h"
#include "model/program_files.h"

namespace lumiere {

void KnobSelection::showKnob(int index, bool highlighted) {
    loadPictureInto(platform_, form_, highlighted ? pictures::kKnobLit : pictures::kKnobPlain,
                    form_.potar[index].picture);
}

void KnobSelection::potar_MouseDown(int index, int button, int, Twips, Twips) {
    if (index < 0 || index >= kStrips) return;
    if (index != 8 && button == mouse::kRight) {
        values_.actif = 8;
        form_.Slider1.value = 0;
        return;
    }
    form_.Picture11.pointer = Pointer::UpArrow;
    for (int i = 0; i < kStrips; ++i) showKnob(i, false);
    form_.potar[index].borderStyle = 0;
    showKnob(index, true);
    values_.actif = index;
    if (index == 8 && button == mouse::kRight) values_.actif = 1;
}

void KnobSelection::Slider1_Click() {
    const int p = form_.Slider1.value;
    if (p == 1 || p == 3) values_.actif = 1;
    if (p == 2) values_.actif = 2;
    for (int i = 0; i < kStrips; ++i) showKnob(i, false);
    if (p == 1 || p == 3) {
        for (int i : {0, 2, 4, 6}) showKnob(i, true);
    }
    if (p == 2 || p == 3) {
        for (int i : {1, 3, 5, 7}) showKnob(i, true);
    }
}

void KnobSelection::Image4_MouseMove(int, int, Twips, Twips) {
    form_.Picture11.pointer = Pointer::Default;
}

}  // namespace lumiere
