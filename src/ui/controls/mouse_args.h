// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The one translation from Qt's mouse events to what the handlers receive: the button codes of
// model/mouse.h (1 left, 2 right, 4 middle), the shift state (1 shift, 2 ctrl, 4 alt) and the
// position in twips relative to the control.

#include <Qt>

#include "model/controls.h"

class QMouseEvent;

namespace lumiere::ui {

struct MouseArgs {
    int button = 0;  // the button that changed (down), or the buttons held (move)
    int shift = 0;
    Twips x = 0;
    Twips y = 0;
};

// The arguments of a mouse-down (the button that went down) or a mouse-move (the buttons held).
MouseArgs mouseDownArgs(const QMouseEvent& event);
MouseArgs mouseMoveArgs(const QMouseEvent& event);

}  // namespace lumiere::ui
