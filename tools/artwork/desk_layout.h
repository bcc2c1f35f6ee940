#pragma once

#include <array>

// Where the window places its controls on the desk picture (pixels from its top-left corner).
// The desk paints the slots, sockets and printing around these places and leaves the places
// themselves for the window to draw on.
namespace lumiere::artwork::desk_layout {

inline constexpr int kWidth = 691;
inline constexpr int kHeight = 343;

// Nine strips, left to right: eight lamp channels, then the master.
inline constexpr int kStrips = 9;
inline constexpr int kMaster = 8;

// Lamp indicator, 17×7, painted red or grey by the window.
inline constexpr std::array<int, kStrips> kLampX{50, 118, 186, 254, 322, 388, 456, 524, 598};
inline constexpr std::array<int, kStrips> kLampY{40, 40, 42, 42, 42, 42, 44, 44, 42};
inline constexpr int kLampWidth = 17;
inline constexpr int kLampHeight = 7;

// Level figure, about 14×13, yellow digits.
inline constexpr std::array<int, kStrips> kFigureX{52, 120, 186, 256, 324, 390, 460, 528, 602};
inline constexpr int kFigureY = 14;
inline constexpr int kFigureWidth = 14;
inline constexpr int kFigureHeight = 13;

// Level gauge, 11×165, a bar filling upwards.
inline constexpr std::array<int, kStrips> kGaugeX{50, 116, 186, 252, 318, 388, 456, 522, 594};
inline constexpr int kGaugeY = 60;
inline constexpr int kGaugeWidth = 11;
inline constexpr int kGaugeHeight = 165;

// Fader knob, 33×21, sliding with its top between kKnobTopMin (full) and kKnobTopMax (zero).
inline constexpr std::array<int, kStrips> kKnobX{60, 126, 210, 276, 344, 412, 480, 546, 614};
inline constexpr int kKnobWidth = 33;
inline constexpr int kKnobHeight = 21;
inline constexpr int kKnobTopMin = 40;
inline constexpr int kKnobTopMax = 205;

// Channel numbers are printed under the lamp strips around this line.
inline constexpr int kChannelNumberY = 243;

// The window's "Général" label under the master strip.
inline constexpr int kMasterLabelX = 598;
inline constexpr int kMasterLabelY = 236;
inline constexpr int kMasterLabelWidth = 51;
inline constexpr int kMasterLabelHeight = 17;

// Power switch, 30×41, and the window's label under it.
inline constexpr int kSwitchX = 28;
inline constexpr int kSwitchY = 268;
inline constexpr int kSwitchWidth = 30;
inline constexpr int kSwitchHeight = 41;
inline constexpr int kSwitchLabelX = 10;
inline constexpr int kSwitchLabelY = 318;
inline constexpr int kSwitchLabelWidth = 77;
inline constexpr int kSwitchLabelHeight = 13;

// Top of the lower band, below the strips.
inline constexpr int kLowerBandY = 260;

// Centre line of a strip's fader slot.
constexpr double slotCentre(int strip) {
    return kKnobX[strip] + 16.5;
}

}  // namespace lumiere::artwork::desk_layout
