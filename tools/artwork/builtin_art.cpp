#include "builtin_art.h"

namespace lumiere::builtin_art {

QStringList allPaths() {
    QStringList paths;
    for (const char* path : {kDesk, kKnob, kSwitch, kFace, kBanner, kTitle, kBackground})
        paths << QString::fromLatin1(path);
    return paths;
}

}  // namespace lumiere::builtin_art
