// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/form1.h"

#include "text/cp1252.h"

namespace lumiere {
namespace {

struct ButtonPlace {
    const char* caption;  // UTF-8 here, Windows-1252 in the model
    Twips left;
    Twips top;
};

constexpr std::array<ButtonPlace, kButtons> kButtonPlaces = {{
    {"Animation 1", 5160, 5700},
    {"Animation 2", 5160, 6150},
    {"Animation 3", 5160, 6570},
    {"Intérieur -> Extérieur", 6840, 5700},
    {"Extérieur -> Intérieur", 6840, 6150},
    {"Aléatoire", 6840, 6570},
    {"Chennillard", 8520, 5700},
    {"Double Chennillard", 8520, 6150},
    {"Aller simple", 8520, 6570},
    {"Lancer  Séquence", 3360, 5700},
    {"Création  Séquence", 3360, 6150},
    {"Enregistre cycle", 1650, 5700},
}};

constexpr std::array<Twips, kStrips> kLampLeft = {750,  1770, 2790, 3810, 4830,
                                                  5820, 6840, 7860, 8970};
constexpr std::array<Twips, kStrips> kLampTop = {600, 600, 630, 630, 630, 630, 660, 660, 630};
constexpr std::array<Twips, kStrips> kLevelLeft = {780,  1800, 2790, 3840, 4860,
                                                   5850, 6900, 7920, 9030};
constexpr std::array<Twips, kStrips> kGaugeLeft = {750,  1740, 2790, 3780, 4770,
                                                   5820, 6840, 7830, 8910};
constexpr std::array<Twips, kStrips> kKnobLeft = {900,  1890, 3150, 4140, 5160,
                                                  6180, 7200, 8190, 9210};
constexpr std::array<Twips, kStrips> kKnobTop = {2460, 1770, 1860, 1950, 1860,
                                                 2580, 2070, 2640, 1920};

Label makeLabel(Geometry geo, const char* caption) {
    Label label;
    label.geo = geo;
    label.caption = fromUtf8(caption);
    return label;
}

void placeDeskChildren(Form1& f) {
    for (int i = 0; i < kStrips; ++i) {
        Label& lamp = f.lampe[i];
        lamp.geo = {kLampLeft[i], kLampTop[i], 255, 105};
        lamp.backColor = colour::kRed;
        lamp.border = true;

        Label& level = f.niveau[i];
        level.geo = {kLevelLeft[i], 210, 90, 195};
        level.caption = "0";
        level.foreColor = colour::kYellow;
        level.transparent = true;

        Gauge& gauge = f.Gauge1[i];
        gauge.geo = {kGaugeLeft[i], 900, 165, 2475};
        if (i < 2) {
            gauge.min = 0, gauge.max = 20, gauge.value = (i == 0) ? 5 : 20;
        } else {
            gauge.min = 840, gauge.max = 3060, gauge.value = 840;
        }

        PictureBox& knob = f.potar[i];
        knob.geo = {kKnobLeft[i], kKnobTop[i], 495, 315};
    }
    f.Image4.geo = {1020, 3900, 9285, 1215};
    f.inter.geo = {420, 4020, 450, 615};
    f.Label2 = makeLabel({150, 4770, 1155, 195}, "Marche / Arrêt");
    f.Label4 = makeLabel({8970, 3540, 765, 255}, "Général");
    f.Label4.foreColor = colour::kYellow;
    f.Label4.transparent = true;  // on the desk's own dark colour
    f.Label3 = makeLabel({8550, 3510, 675, 255}, "");
    f.Label3.transparent = true;
}

}  // namespace

Form1 makeForm1() {
    Form1 f;
    f.caption = fromUtf8("Jeu de lumière commandé par PC - Ondelia");
    f.clientWidth = 10380;
    f.clientHeight = 7050;

    f.Image1.geo = {30, 0, 10305, 330};
    f.Image3.geo = {3390, 0, 3615, 315};
    f.montre = makeLabel({9450, 90, 480, 255}, "....");
    f.montre.foreColor = colour::kRed;
    f.montre.transparent = true;
    f.Picture11.geo = {0, 330, 10365, 5145};
    f.Shape1 = {{120, 360, 10215, 5115}, 3};
    f.Image2.geo = {0, 5490, 10350, 1545};
    f.Line1 = {5100, 5670, 5100, 6960};

    for (int i = 0; i < kButtons; ++i) {
        CommandButton& b = f.Command11[i];
        b.geo = {kButtonPlaces[i].left, kButtonPlaces[i].top, 1665, 345};
        b.caption = fromUtf8(kButtonPlaces[i].caption);
        b.arialFont = i <= 8;
        if (i >= 9) b.toolTip = fromUtf8("Click droit pour arrêter");
    }
    f.Command11[5].backColor = colour::kLightYellow;

    f.Slider1 = {{60, 5880, 1425, 285}, 0, 3, 0, fromUtf8("Sélection multiple des faders")};
    f.Label1[0] = makeLabel({180, 5640, 1230, 195}, "Sélection multiple");
    f.Slider2 = {{60, 6720, 1545, 225}, 1, 30, 5, fromUtf8("Réglage vitesse de la séquence")};
    f.Label1[1] = makeLabel({210, 6480, 1290, 195}, "Vitesse Séquence");
    f.Label1[0].transparent = f.Label1[1].transparent = true;
    f.Label5 = makeLabel({3390, 6660, 1260, 195}, "............................");
    f.Label5.foreColor = colour::kDarkGreen;
    f.Label5.transparent = true;
    f.Timer3 = {true, 1000};

    placeDeskChildren(f);
    return f;
}

}  // namespace lumiere
