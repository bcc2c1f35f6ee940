// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

// The built-in pictures, painted by lumiere-artwork and embedded as Qt resources under ":/builtin"
// by the lumiere_builtin_art library. The window shows them until pictures are loaded from
// files. Linking the library is enough: its resources register themselves at start-up. The
// build reads the file names from this list.
namespace lumiere::builtin_art {

inline constexpr const char* kDesk = "desk.bmp";
inline constexpr const char* kKnob = "knob.bmp";
inline constexpr const char* kSwitch = "switch.bmp";
inline constexpr const char* kFace = "face.bmp";
inline constexpr const char* kBanner = "banner.bmp";
inline constexpr const char* kTitle = "title.bmp";
inline constexpr const char* kBackground = "background.bmp";

// The resource path of a built-in picture: ":/builtin/desk.bmp".
QString resourcePath(const char* name);

// Resource paths of all seven pictures.
QStringList allPaths();

}  // namespace lumiere::builtin_art
