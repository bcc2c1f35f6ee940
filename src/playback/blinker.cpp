// SPDX-License-Identifier: GPL-3.0-or-later
#include "playback/blinker.h"

#include "link/frame_sender.h"
#include "text/number.h"

namespace lumiere {

void Blinker::Timer4_Timer() {
    form_.lampe[8].backColor = colour::kLightGrey;
    const int channels = static_cast<int>(form_.niveau.size()) - 1;
    for (int i = 0; i < channels; ++i) {
        std::string& countdown = values_.compteur[i];
        Label& lamp = form_.lampe[i];
        // A countdown that has run out turns the lamp over and starts again from the level.
        if (readNumber(countdown) <= 0 && lamp.backColor == colour::kLightGrey) {
            lamp.backColor = colour::kRed;
            countdown = form_.niveau[i].caption;
        }
        if (readNumber(countdown) <= 0 && lamp.backColor == colour::kRed) {
            lamp.backColor = colour::kLightGrey;
            countdown = form_.niveau[i].caption;
        }
        if (const double left = readNumber(countdown); left > 0) {
            countdown = formatNumber(left - 1);
        }
    }
    link_.envoi(lampByte(form_));
}

}  // namespace lumiere
