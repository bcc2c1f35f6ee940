// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/settings_dialog.h"

#include <cstdint>
#include <limits>

#include "link/lamp_link.h"
#include "settings/profile.h"
#include "text/cp1252.h"
#include "text/french.h"
#include "text/number.h"

namespace lumiere {

void SettingsDialog::show() {
    form_.error.clear();
    form_.visible = true;
}

void SettingsDialog::Command2_Click() {
    const auto number = parseWholeNumber(form_.Text1.text);
    const double port = number ? roundHalfEven(*number) : 0.0;
    if (!number || port < std::numeric_limits<std::int16_t>::min() ||
        port > std::numeric_limits<std::int16_t>::max()) {
        constexpr std::size_t kShown = 20;  // a pasted page must not fill the dialog
        const std::string& typed = form_.Text1.text;
        const std::string shown =
            typed.size() > kShown ? typed.substr(0, kShown) + fromUtf8("…") : typed;
        form_.error = fromUtf8("« ") + shown +
                      fromUtf8(
                          " » n’est pas un numéro de port : tapez un nombre entier seul, "
                          "par exemple 3. Rien n’a été enregistré.");
        return;
    }

    const int err = updateProfile(profilePath_, [&](Profile& profile) {
        profile.write("Port", "COM", form_.Text1.text);
        profile.write("Table", "valeur", form_.Text2.text);
    });
    link_.setPortNumber(static_cast<int>(port));
    link_.probe();
    if (err != 0) {
        form_.error =
            profileNotSaved(err) + fromUtf8(" ; le port est changé pour cette séance seulement.");
        return;
    }
    form_.error.clear();
    form_.visible = false;
}

void SettingsDialog::Command12_Click() {
    form_.error.clear();
    form_.visible = false;
}

}  // namespace lumiere
