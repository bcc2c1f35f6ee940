// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The main window `Form1`: the control inventory with its geometry and initial state.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "model/controls.h"

namespace lumiere {

inline constexpr int kStrips = 9;    // strips 0 to 7 are the lamp channels, 8 is "Général"
inline constexpr int kChannels = 8;  // lamp channels
inline constexpr int kButtons = 12;  // Command11 (0 to 11)

// The fader band of the desk picture (twips): the knobs follow pointer heights from kTop to
// kBottom, and a pointer below kLowestPointer counts as there. So a knob's top travels from
// kTop − its height (full) to kLowestPointer − its height (zero).
namespace faderBand {
inline constexpr Twips kTop = 920;
inline constexpr Twips kBottom = 3590;
inline constexpr Twips kLowestPointer = 3390;
}  // namespace faderBand

// Between the notices of one event in StatusBar::notice.
inline constexpr std::string_view kNoticeSeparator = " | ";

// The window's own status bar under the desk: the state of the lamp link and the last notice
// (a missing file, an editor that would not open). Not part of the desk itself.
struct StatusBar {
    std::string linkFault;  // empty while frames get through
    std::string notice;
    // Set while one event's notices are gathered; the next event's first notice replaces them.
    bool gathering = false;

    void note(const std::string& text) {
        if (gathering && notice.find(text) != std::string::npos) return;  // said already
        notice =
            gathering && !notice.empty() ? notice + std::string(kNoticeSeparator) + text : text;
        gathering = true;
    }
};

struct Form1 {
    std::string caption;
    Twips clientWidth = 0;
    Twips clientHeight = 0;

    Image Image1;          // banner
    Image Image3;          // title
    Label montre;          // clock
    PictureBox Picture11;  // the desk picture, parent of the controls below
    RectangleShape Shape1;
    Image Image2;  // background behind the buttons
    LineShape Line1;
    std::array<CommandButton, kButtons> Command11;
    Slider Slider1;  // group selector
    std::array<Label, 2> Label1;
    Slider Slider2;  // seconds per sequence step
    Label Label5;    // status label
    Timer Timer3;    // clock (the show owns Timer1 and Timer4)

    // Children of Picture11.
    std::array<Label, kStrips> lampe;
    std::array<Label, kStrips> niveau;
    std::array<Gauge, kStrips> Gauge1;
    std::array<PictureBox, kStrips> potar;
    Image Image4;  // transparent band below the fader tracks
    Image inter;   // on/off switch
    Label Label2;
    Label Label4;
    Label Label3;

    StatusBar status;
};

// Red turns grey and grey turns red; a lamp of any other colour is left alone.
inline void toggleLamp(Label& lamp) {
    if (lamp.backColor == colour::kRed)
        lamp.backColor = colour::kLightGrey;
    else if (lamp.backColor == colour::kLightGrey)
        lamp.backColor = colour::kRed;
}

// The lamps as the channel blinker sends them: lampe(k) lit (red) is worth 2 to the power k.
inline std::uint8_t lampByte(const Form1& form) {
    int byte = 0;
    for (int k = 0; k < kChannels; ++k) {
        if (form.lampe[k].backColor == colour::kRed) byte += 1 << k;
    }
    return static_cast<std::uint8_t>(byte);
}

// The window as designed, before start-up runs.
Form1 makeForm1();

}  // namespace lumiere
