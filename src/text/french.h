// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Plain French wording of system errors, for the status line and the dialogs.

#include <string>

namespace lumiere {

// Not an errno: the path names a folder, a pipe or a device where a file was expected.
inline constexpr int kNotRegularFile = -1;
// Not an errno: the file is no picture this program can read.
inline constexpr int kNotAPicture = -2;
// Not an errno: the picture has more pixels than a window of this program can use.
inline constexpr int kPictureTooLarge = -3;
// Not an errno: the device is a terminal a session uses (this program's own, a shell's).
inline constexpr int kTerminalInUse = -4;
// Not an errno: the path holds a control character (a line end pasted into param.ini).
inline constexpr int kControlCharacter = -5;
// Not an errno: another program held the file's lock all the time given.
inline constexpr int kLockBusy = -6;

// A short French description of an errno value, in Windows-1252 ("accès refusé", …).
std::string describeError(int errnum);

}  // namespace lumiere
