// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What one frame costs: Lumière's own link (envoi through the POSIX adapter) against QSerialPort,
// both on a pseudo-terminal read back on the far side.

#include <string>

#include "figures.h"

namespace lumiere::bench {

struct LinkFigures {
    Spread envoiUs;
    int envoiLost = 0;
    Spread qtUs;
    int qtLost = 0;
    int frames = 0;
};

LinkFigures measureLink(int frames);

}  // namespace lumiere::bench
