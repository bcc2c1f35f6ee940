#pragma once

#include <QStringList>

// The built-in pictures, embedded as Qt resources by the lumiere_builtin_art library. The
// window shows them until pictures are loaded from files. Linking the library is enough: its
// resources register themselves at start-up.
namespace lumiere::builtin_art {

inline constexpr const char* kDesk = ":/builtin/desk.bmp";              // 691×343
inline constexpr const char* kKnob = ":/builtin/knob.bmp";              // 33×21
inline constexpr const char* kSwitch = ":/builtin/switch.bmp";          // 30×41
inline constexpr const char* kFace = ":/builtin/face.bmp";              // 111×23
inline constexpr const char* kBanner = ":/builtin/banner.bmp";          // 687×22
inline constexpr const char* kTitle = ":/builtin/title.bmp";            // 241×21
inline constexpr const char* kBackground = ":/builtin/background.bmp";  // 690×103

// Resource paths of all seven pictures.
QStringList allPaths();

}  // namespace lumiere::builtin_art
