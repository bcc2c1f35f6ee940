// SPDX-License-Identifier: GPL-3.0-or-later
#include "desk/faders.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "model/mouse.h"
#include "playback/show.h"
#include "text/number.h"

namespace lumiere {
namespace {

constexpr int kEvenGroup[] = {0, 2, 4, 6};
constexpr int kOddGroup[] = {1, 3, 5, 7};

}  // namespace

int Faders::levelOf(Twips top) {
    const auto level =
        std::floor(static_cast<float>(14.0 - (std::fabs((3090.0 - top) / 110.0) - 7.0)));
    // Tops placed by cycle files can lie anywhere; keep the level a sane whole number.
    constexpr float kLimit = 1e6f;
    return static_cast<int>(std::clamp(level, -kLimit, kLimit));
}

void Faders::followGroup(const int* knobs, int reference, Twips y) {
    for (int n = 0; n < 4; ++n) {
        Geometry& knob = form_.potar[knobs[n]].geo;
        if (y < knob.top) knob.top = y;
        const Geometry& ref = form_.potar[reference].geo;
        if (y > ref.top) knob.top = y - ref.height;
    }
}

void Faders::Picture11_MouseMove(int, int, Twips x, Twips y) {
    if (y < faderBand::kTop || y > faderBand::kBottom) return;
    y = std::min(y, faderBand::kLowestPointer);

    const int selector = form_.Slider1.value;
    if (selector == 1 || selector == 3) followGroup(kEvenGroup, 2, y);
    if (selector == 2 || selector == 3) followGroup(kOddGroup, 1, y);

    const int k = values_.actif;
    if (k >= 0 && k < kStrips) {
        Geometry& knob = form_.potar[k].geo;
        if (knob.left < x && x < knob.left + knob.width) {
            if (y < knob.top) knob.top = y;
            if (y > knob.top) knob.top = y - knob.height;
        }
    }

    levelsMoved();
}

void Faders::levelsMoved() {
    calcul_niveaux();
    // A master level below 0 would give a negative interval: the player pauses as for 0.
    const int master = static_cast<int>(readNumber(values_.compteur[8]));
    show_.setPlayerInterval(std::max(0, 15 * master));
}

void Faders::moveTo(int strip, int level) {
    if (strip < 0 || strip >= kStrips) return;
    // Level L covers the tops whose distance below 3090 lies in ((20 − L)·110, (21 − L)·110].
    const int clamped = std::clamp(level, 0, 20);
    form_.potar[strip].geo.top = static_cast<Twips>(3090 - (20.5 - clamped) * 110);
    levelsMoved();
}

void Faders::Picture11_MouseDown(int button, int, Twips, Twips) {
    if (button != mouse::kRight) return;
    form_.Slider1.value = 0;
    values_.actif = 8;
}

void Faders::calcul_niveaux() {
    for (int i = 0; i < kStrips; ++i) {
        values_.compteur[i] = std::to_string(levelOf(form_.potar[i].geo.top));
        form_.niveau[i].caption = values_.compteur[i];
        Gauge& gauge = form_.Gauge1[i];
        const double level = readNumber(values_.compteur[i]);
        if (gauge.min <= level && level <= gauge.max) {
            gauge.value = gauge.max - static_cast<int>(level);
        }
    }
}

}  // namespace lumiere
