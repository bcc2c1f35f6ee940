// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QColor>

// The colours shared by every Lumière picture, so the pieces painted separately (desk, knob
// caps, switch, button faces, panels) match where the window puts them side by side.
namespace lumiere::artwork::palette {

// Dark brushed metal of the lighting desk.
inline const QColor kDeskMetal{0x2b, 0x2d, 0x31};
// Floor of grooves, recesses and display windows.
inline const QColor kHollow{0x0b, 0x0c, 0x0e};
// Screen-printed marks and figures on the desk.
inline const QColor kPrint{0xc9, 0xcd, 0xd3};
inline const QColor kPrintDim{0x8e, 0x93, 0x9b};
// Light brushed aluminium of the command panel and of the button faces.
inline const QColor kAluminium{0xd3, 0xd5, 0xd8};
inline const QColor kAluminiumEdge{0x7a, 0x7d, 0x83};
// Warm gold of the title and amber of a lit knob.
inline const QColor kGold{0xf0, 0xc8, 0x5a};
inline const QColor kAmber{0xff, 0xa8, 0x1c};
// Lit and unlit power lamp of the switch.
inline const QColor kLedOn{0x5c, 0xff, 0x5a};
inline const QColor kLedOff{0x1c, 0x33, 0x1d};

}  // namespace lumiere::artwork::palette
