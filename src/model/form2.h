// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The settings dialog `Form2`: port number and desk picture file name.

#include <string>

#include "model/controls.h"

namespace lumiere {

struct Frame {
    Geometry geo;
    std::string caption;
};

struct Form2 {
    std::string caption;
    Twips clientWidth = 0;
    Twips clientHeight = 0;
    Frame Frame1;
    Label Label3;
    TextBox Text1;  // port number
    Label Label1;
    TextBox Text2;            // desk picture file name
    CommandButton Command12;  // "Annuler"
    CommandButton Command2;   // "Enregistrer"
    bool visible = false;
    std::string error;  // why the last "Enregistrer" was refused; empty otherwise
};

Form2 makeForm2();

}  // namespace lumiere
