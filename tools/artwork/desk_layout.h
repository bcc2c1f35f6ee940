// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Where the window places its controls, in pixels, read from the window's own control inventory
// (model/form1.h): the desk paints the slots, sockets and printing around these places and leaves
// the places themselves for the window to draw on, and every picture is painted at the size of
// the control that shows it.

#include <QRect>
#include <QSize>
#include <array>

#include "model/form1.h"

namespace lumiere::artwork {

struct DeskLayout {
    QSize size;  // the desk picture
    std::array<QRect, kStrips> lamps;
    std::array<QRect, kStrips> figures;  // room for a level of two digits
    std::array<QRect, kStrips> gauges;
    std::array<QRect, kStrips> knobs;  // at their design tops
    int knobTopMin = 0;                // the highest top the pointer gives a knob (full)
    int knobTopMax = 0;                // the lowest (zero)
    QRect toggle;
    QRect toggleLabel;
    QRect masterLabel;
    int lowerBandY = 0;      // top of the band below the fader tracks
    int masterSectionX = 0;  // between the last channel strip and the master strip
    int channelNumberY = 0;  // centre line of the channel numbers, under the fader travel

    double slotCentre(int strip) const { return knobs[strip].x() + knobs[strip].width() / 2.0; }
};

struct WindowLayout {
    DeskLayout desk;
    QSize buttonFace;  // Command11
    QSize knobCap;     // potar
    QSize toggle;      // inter
    QSize banner;      // Image1
    QSize title;       // Image3
    QSize panel;       // Image2, behind the buttons and the sliders
};

// The layout of the window as designed.
const WindowLayout& layout();

}  // namespace lumiere::artwork
