// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The on/off switch of the desk. On: the levels are refreshed and the channel blinker starts.
// Off: a running sequence is asked to stop, and the show stops both players, sends one all-off
// frame and greys every lamp.

#include "model/form1.h"
#include "model/values.h"

namespace lumiere {

class Faders;
class Platform;
class Show;

class DeskSwitch {
public:
    DeskSwitch(Form1& form, AppValues& values, Platform& platform, Show& show, Faders& faders)
        : form_(form), values_(values), platform_(platform), show_(show), faders_(faders) {}

    void inter_Click();

private:
    Form1& form_;
    AppValues& values_;
    Platform& platform_;
    Show& show_;
    Faders& faders_;
};

}  // namespace lumiere
