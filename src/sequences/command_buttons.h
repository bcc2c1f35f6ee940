// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The twelve command buttons and the lamp clicks. Every button is a toggle: a click on a released
// button releases all and (desk on) starts the sequence player with that effect; a click on the
// pressed button stops the player and gives the lamps back to the channel blinker. The italic
// font is the pressed state. Buttons 0 to 2 load their animation file on every click; 9 loads
// and runs a sequence, 10 opens the sample sequence in the editor, 11 records the faders as a
// cycle file. A right click stops everything, or opens the animation file of buttons 0 to 2.

#include <string>
#include <string_view>

#include "model/controls.h"
#include "model/form1.h"
#include "model/values.h"
#include "sequences/button_clicker.h"

namespace lumiere {

class Platform;
class SequenceRunner;
class Show;

class CommandButtons final : public ButtonClicker {
public:
    CommandButtons(Form1& form, AppValues& values, Platform& platform, Show& show,
                   SequenceRunner& runner)
        : form_(form), values_(values), platform_(platform), show_(show), runner_(runner) {}

    void Command11_Click(int index) override;
    // "Lancer  Séquence" clicked with `path` chosen instead of asking the file dialog.
    void launchSequenceFile(const std::string& path);
    void Command11_MouseDown(int index, int button, int shift, Twips x, Twips y);
    void lampe_Click(int index);
    // Every button shows released.
    void releaseAll();
    // The right click on a button from "Intérieur -> Extérieur" on: the run ends after its
    // slice, and the lamps go back to the blinker.
    void stopAll();

private:
    void press(int index);
    void loadAnimationOf(int index);
    void click(int index, const std::string* chosen);
    void launchSequence(const std::string* chosen);
    void recordCycle();
    void openInEditor(std::string_view name);

    Form1& form_;
    AppValues& values_;
    Platform& platform_;
    Show& show_;
    SequenceRunner& runner_;
};

}  // namespace lumiere
