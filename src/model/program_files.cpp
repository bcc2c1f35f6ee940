#include "model/program_files.h"

#include "model/platform.h"
#include "text/cp1252.h"

namespace lumiere {

std::string programFile(Platform& platform, std::string_view name) {
    return platform.programFolder() + "/" + std::string(name);
}

bool loadPictureInto(Platform& platform, Form1& form, std::string_view name, Picture& target) {
    const std::string path = programFile(platform, name);
    Picture picture = platform.loadPicture(path);
    if (!picture) {
        form.status.note(fromUtf8("Image introuvable ou illisible : " + path));
        return false;
    }
    target = std::move(picture);
    return true;
}

}  // namespace lumiere
