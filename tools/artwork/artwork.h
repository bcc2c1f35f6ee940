// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QImage>

// Painters of every Lumière picture. Each returns an opaque RGB picture of its final size and
// paints the same pixels on every call, so the build output is reproducible.
namespace lumiere::artwork {

// Command-button face, 111×23: raised, or pressed (inverted bevel, darker, content shifted).
QImage buttonFace(bool pressed);
// Fader knob cap seen from above, 33×21: plain, or lit as the selected knob.
QImage knobCap(bool selected);
// Power toggle switch, 30×41: lever down (off) or lever up with its lamp lit (on).
QImage toggleSwitch(bool on);
// The lighting desk behind the strips, 691×343.
QImage desk();
// Dark strip across the top of the window, 687×22.
QImage banner();
// Program title shown centred over the banner, 241×21.
QImage title();
// Light panel behind the command buttons and the two sliders, 690×103.
QImage controlPanel();

}  // namespace lumiere::artwork
