// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/program_files.h"

#include "model/platform.h"
#include "text/cp1252.h"
#include "text/french.h"

namespace lumiere {

std::string programFile(Platform& platform, std::string_view name) {
    return platform.programFolder() + "/" + std::string(name);
}

bool loadPictureInto(Platform& platform, Form1& form, std::string_view name, Picture& target) {
    const std::string path = programFile(platform, name);
    PictureLoad load = platform.loadPicture(path);
    if (!load.picture) {
        form.status.note(fromUtf8("Image non chargée, " + path + " : ") +
                         describeError(load.error));
        return false;
    }
    target = std::move(load.picture);
    return true;
}

}  // namespace lumiere
