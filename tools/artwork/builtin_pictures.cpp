// SPDX-License-Identifier: GPL-3.0-or-later
#include "builtin_pictures.h"

namespace lumiere::builtin_art {

QString resourcePath(const char* name) {
    return QStringLiteral(":/builtin/") + QString::fromLatin1(name);
}

QStringList allPaths() {
    QStringList paths;
    for (const char* name : {kDesk, kKnob, kSwitch, kFace, kBanner, kTitle, kBackground})
        paths << resourcePath(name);
    return paths;
}

}  // namespace lumiere::builtin_art
