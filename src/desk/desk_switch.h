#pragma once
// The on/off switch of the desk. On: the levels are refreshed and the channel blinker starts.
// Off: both players stop, a running sequence is asked to stop, one all-off frame goes out and
// every lamp turns grey.

#include "model/form1.h"
#include "model/values.h"

namespace lumiere {

class Faders;
class LampLink;
class Platform;

class DeskSwitch {
public:
    DeskSwitch(Form1& form, AppValues& values, Platform& platform, LampLink& link, Faders& faders)
        : form_(form), values_(values), platform_(platform), link_(link), faders_(faders) {}

    void inter_Click();

private:
    Form1& form_;
    AppValues& values_;
    Platform& platform_;
    LampLink& link_;
    Faders& faders_;
};

}  // namespace lumiere
