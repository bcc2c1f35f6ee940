// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The settings dialog `Form2`: shows the port number and the desk picture file name read at
// start-up, saves both to param.ini ("Enregistrer") and gives the new port to the lamp link for
// the next frame. The dialog is not modal.

#include <string>

#include "model/form2.h"

namespace lumiere {

class LampLink;

class SettingsDialog {
public:
    SettingsDialog(Form2& form, LampLink& link, std::string profilePath)
        : form_(form), link_(link), profilePath_(std::move(profilePath)) {}

    void show();
    // "Enregistrer": a port text that is not a whole number is refused before anything is
    // written; the dialog then stays open and says why.
    void Command2_Click();
    // "Annuler", and the close box: hides the dialog; the text boxes keep what was typed.
    void Command12_Click();

private:
    Form2& form_;
    LampLink& link_;
    std::string profilePath_;
};

}  // namespace lumiere
