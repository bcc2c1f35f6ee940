#include "desk/desk_switch.h"

#include "desk/faders.h"
#include "link/lamp_link.h"
#include "model/program_files.h"

namespace lumiere {

void DeskSwitch::inter_Click() {
    if (values_.marche == 1) {
        values_.marche = 0;
        values_.arret = 1;
        loadPictureInto(platform_, form_, "int2_off.dib", form_.inter.picture);
        form_.Timer4.enabled = false;
        form_.Timer1.enabled = false;
        link_.envoi(0);
        for (Label& lamp : form_.lampe) lamp.backColor = colour::kLightGrey;
    } else {
        loadPictureInto(platform_, form_, "int2_on.dib", form_.inter.picture);
        values_.marche = 1;
        values_.actif = 1;
        faders_.calcul_niveaux();
        form_.Timer4.enabled = true;
    }
}

}  // namespace lumiere
