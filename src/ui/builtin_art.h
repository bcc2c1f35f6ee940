// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The pictures built into the program, shown until a picture file replaces them.

#include <QPixmap>

namespace lumiere::ui {

struct BuiltinArt {
    QPixmap desk;
    QPixmap knob;
    QPixmap toggle;
    QPixmap face;
    QPixmap banner;
    QPixmap title;
    QPixmap background;

    // Loaded once, on first use.
    static const BuiltinArt& get();
};

}  // namespace lumiere::ui
