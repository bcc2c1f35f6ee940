// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The built-in pictures, painted by lumiere-artwork during the build and embedded as Qt
// resources under ":/builtin" by the lumiere_pictures library. The window shows them until
// pictures are loaded from files. Linking the library is enough: its resources register
// themselves at start-up. The build reads the file names from this list.

#include <QString>
#include <QStringList>

namespace lumiere::builtin_art {

inline constexpr const char* kDesk = "desk.bmp";
inline constexpr const char* kKnob = "knob.bmp";
inline constexpr const char* kSwitch = "switch.bmp";
inline constexpr const char* kFace = "face.bmp";
inline constexpr const char* kBanner = "banner.bmp";
inline constexpr const char* kTitle = "title.bmp";
inline constexpr const char* kBackground = "background.bmp";

// The resource path of a built-in picture: ":/builtin/desk.bmp".
inline QString resourcePath(const char* name) {
    return QStringLiteral(":/builtin/") + QString::fromLatin1(name);
}

// Resource paths of all seven pictures.
inline QStringList allPaths() {
    QStringList paths;
    for (const char* name : {kDesk, kKnob, kSwitch, kFace, kBanner, kTitle, kBackground})
        paths << resourcePath(name);
    return paths;
}

}  // namespace lumiere::builtin_art
