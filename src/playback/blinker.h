// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The channel blinker: on every tick of Timer4 each lamp channel with a level L ≥ 1 stays on for L
// ticks and off for L ticks, turn about; a level of 0 or less keeps it dark. The lamps are read
// back from their colours and sent as one byte per tick, lampe(k) worth 2 to the power k.

#include "model/form1.h"
#include "model/values.h"

namespace lumiere {

class FrameSender;

class Blinker {
public:
    Blinker(Form1& form, AppValues& values, FrameSender& link)
        : form_(form), values_(values), link_(link) {}

    void Timer4_Timer();

private:
    Form1& form_;
    AppValues& values_;
    FrameSender& link_;
};

}  // namespace lumiere
