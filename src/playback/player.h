// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The sequence player: on every tick of Timer1 it works out the next lamp pattern of the chosen
// effect (`choix`), sends it as one frame and paints it on lampe(0) to lampe(7), lampe(0) showing
// the most significant bit. lampe(8) blinks on every tick as an activity light.
//
// `motif` (the pattern) and `rang` (the step) are kept across ticks, stops and changes of effect:
// a new effect starts from what the previous one left.

#include "model/form1.h"
#include "model/values.h"

namespace lumiere {

class FrameSender;
class Platform;

class Player {
public:
    Player(Form1& form, AppValues& values, FrameSender& link, Platform& platform)
        : form_(form), values_(values), link_(link), platform_(platform) {}

    void Timer1_Timer();

    int rang() const { return rang_; }
    // The next step of an animation is its first.
    void restartSteps() { rang_ = 1; }

private:
    void stepList();
    void table(const int* entries, int count);
    void random();
    void chaser();
    void oneWay();
    void paint();

    Form1& form_;
    AppValues& values_;
    FrameSender& link_;
    Platform& platform_;
    double motif_ = 0;
    int rang_ = 0;
};

}  // namespace lumiere
