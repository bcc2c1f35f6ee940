// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/form2.h"

#include "text/cp1252.h"

namespace lumiere {

Form2 makeForm2() {
    Form2 f;
    f.caption = fromUtf8("Paramètres");
    f.clientWidth = 6195;
    f.clientHeight = 3825;
    f.Frame1 = {{0, 0, 6195, 3795}, fromUtf8("Paramètres")};
    f.Label3.geo = {270, 420, 885, 255};
    f.Label3.caption = "Port COM :";
    f.Text1 = {{1950, 390, 705, 315}, "....."};
    f.Label1.geo = {270, 1110, 1545, 255};
    f.Label1.caption = "Table de brivage :";
    f.Text2 = {{1920, 1050, 1695, 345}, "........"};
    f.Command12.geo = {4620, 3030, 1365, 285};
    f.Command12.caption = "Annuler";
    f.Command2.geo = {4620, 3420, 1365, 285};
    f.Command2.caption = "Enregistrer";
    return f;
}

}  // namespace lumiere
