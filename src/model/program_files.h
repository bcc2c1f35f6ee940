// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Files beside the program: pictures, param.ini, the animation and sample files.

#include <string>
#include <string_view>

#include "model/controls.h"
#include "model/form1.h"

namespace lumiere {

class Platform;

// The path of a file in the program folder.
std::string programFile(Platform& platform, std::string_view name);

// Loads a picture from the program folder into `target`. When the file is missing, refused or no
// picture, `target` keeps its picture, the status bar names the file and the reason, and false
// is returned.
bool loadPictureInto(Platform& platform, Form1& form, std::string_view name, Picture& target);

}  // namespace lumiere
