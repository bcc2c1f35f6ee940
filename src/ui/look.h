// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace lumiere::ui {

// The style and font every Lumière window uses: Fusion, and Liberation Sans (Arial's metrics) at
// 11 pixels, 8.25 points at 96 dots per inch, so captions fit their fixed places.
void applyLook();

}  // namespace lumiere::ui
