// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/builtin_art.h"

#include "pictures/builtin_pictures.h"

namespace lumiere::ui {

const BuiltinArt& BuiltinArt::get() {
    using namespace builtin_art;
    static const BuiltinArt art{
        QPixmap(resourcePath(kDesk)),       QPixmap(resourcePath(kKnob)),
        QPixmap(resourcePath(kSwitch)),     QPixmap(resourcePath(kFace)),
        QPixmap(resourcePath(kBanner)),     QPixmap(resourcePath(kTitle)),
        QPixmap(resourcePath(kBackground)),
    };
    return art;
}

}  // namespace lumiere::ui
