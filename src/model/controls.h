// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The controls of Lumière's windows, modelled headless. Handlers read and write these plain
// structs exactly as they would the controls; the widget layer only paints them and forwards
// events. Positions and sizes are twips (15 twips per pixel), relative to the parent control.
// Texts are Windows-1252 bytes.

#include <cmath>
#include <cstdint>
#include <memory>
#include <string>

namespace lumiere {

using Twips = float;

// The screen the layout was drawn for: 96 dots per inch, 15 twips per pixel.
inline constexpr double kTwipsPerPixel = 15.0;

inline int toPixels(Twips twips) {
    return static_cast<int>(std::lround(twips / kTwipsPerPixel));
}

// Colours as 0x00BBGGRR values.
namespace colour {
inline constexpr std::uint32_t kRed = 0x0000FF;          // lamp on
inline constexpr std::uint32_t kLightGrey = 0xE0E0E0;    // lamp off
inline constexpr std::uint32_t kYellow = 0x00FFFF;       // level figures, "Général"
inline constexpr std::uint32_t kDarkGreen = 0x008000;    // status line
inline constexpr std::uint32_t kLightYellow = 0x80FFFF;  // the "Aléatoire" button
inline constexpr std::uint32_t kBlack = 0x000000;
inline constexpr std::uint32_t kButtonFace = 0xD8D8D8;  // plain control background
}  // namespace colour

struct Geometry {
    Twips left = 0;
    Twips top = 0;
    Twips width = 0;
    Twips height = 0;

    bool operator==(const Geometry&) const = default;
};

// A picture loaded from disk by the platform. A null Picture means the control's built-in picture.
class PictureData {
public:
    virtual ~PictureData() = default;
};
using Picture = std::shared_ptr<const PictureData>;

enum class Pointer { Default = 0, UpArrow = 10 };

struct Label {
    Geometry geo;
    std::string caption;
    std::uint32_t foreColor = colour::kBlack;
    std::uint32_t backColor = colour::kButtonFace;
    bool transparent = false;
    bool border = false;

    bool operator==(const Label&) const = default;
};

struct Image {
    Geometry geo;
    Picture picture;

    bool operator==(const Image&) const = default;
};

struct PictureBox {
    Geometry geo;
    Picture picture;
    int borderStyle = 1;  // 1 fixed single, 0 none
    Pointer pointer = Pointer::Default;

    bool operator==(const PictureBox&) const = default;
};

struct Gauge {
    Geometry geo;
    int min = 0;
    int max = 100;
    int value = 0;

    bool operator==(const Gauge&) const = default;
};

struct CommandButton {
    Geometry geo;
    std::string caption;
    bool italic = false;     // pressed
    bool underline = false;  // a sequence run is active (button 9)
    bool arialFont = false;  // Arial 8.25 pt instead of the default face
    Picture picture;
    std::uint32_t backColor = colour::kButtonFace;
    std::string toolTip;

    bool operator==(const CommandButton&) const = default;
};

struct Slider {
    Geometry geo;
    int min = 0;
    int max = 10;
    int value = 0;
    std::string toolTip;

    bool operator==(const Slider&) const = default;
};

struct TextBox {
    Geometry geo;
    std::string text;

    bool operator==(const TextBox&) const = default;
};

struct Timer {
    bool enabled = false;
    int interval = 0;  // milliseconds; 0 or less means no ticks

    bool operator==(const Timer&) const = default;
};

struct RectangleShape {
    Geometry geo;
    int borderWidth = 1;

    bool operator==(const RectangleShape&) const = default;
};

struct LineShape {
    Twips x1 = 0, y1 = 0, x2 = 0, y2 = 0;

    bool operator==(const LineShape&) const = default;
};

}  // namespace lumiere
