// SPDX-License-Identifier: GPL-3.0-or-later
#include "desk/desk_switch.h"

#include "desk/faders.h"
#include "model/picture_names.h"
#include "model/program_files.h"
#include "playback/show.h"

namespace lumiere {

void DeskSwitch::inter_Click() {
    if (values_.marche == 1) {
        values_.marche = 0;
        values_.arret = 1;
        loadPictureInto(platform_, form_, pictures::kSwitchOff, form_.inter.picture);
        show_.switchOff();
    } else {
        loadPictureInto(platform_, form_, pictures::kSwitchOn, form_.inter.picture);
        values_.marche = 1;
        values_.actif = 1;
        faders_.calcul_niveaux();
        show_.switchOn();
    }
}

}  // namespace lumiere
