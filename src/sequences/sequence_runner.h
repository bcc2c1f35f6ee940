// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The sequence runner `deroule`: plays the loaded sequence one step per time slice. A step naming
// one of the effect buttons clicks it, "END" loops to the start, a step containing "cycle" puts
// the faders where that cycle file says, anything else does nothing. Each slice lasts the value of
// the speed slider in seconds, read again while waiting. A stop request (`arret`) is seen only
// between slices.
//
// The runner is a state machine driven by the window's event loop: it never waits inside a call.
// The window asks `wakeAt()` when to call `wake()` next; everything else keeps running meanwhile.

#include <optional>
#include <string>

#include "model/form1.h"
#include "model/values.h"

namespace lumiere {

class ButtonClicker;
class Faders;
class ModalGuard;
class Show;

class SequenceRunner {
public:
    // The run holds still while `platform` has a modal dialog open.
    SequenceRunner(Form1& form, AppValues& values, ModalGuard& platform, Show& show, Faders& faders)
        : form_(form), values_(values), platform_(platform), show_(show), faders_(faders) {}

    // The buttons a step clicks; set once, when the application is put together.
    void clickButtonsWith(ButtonClicker& buttons);

    // Starts a run from the first step; a run already going is replaced.
    void deroule();
    void wake();
    // Monotonic seconds at which wake() is due; nothing while idle.
    std::optional<double> wakeAt() const;
    bool running() const { return phase_ != Phase::Idle; }
    int stepPosition() const { return position_; }

private:
    enum class Phase { Idle, NextStep, Slice };

    void takeStep();
    void execute(const std::string& step);
    void applyCycle(const std::string& step);
    void endSlice();

    Form1& form_;
    AppValues& values_;
    ModalGuard& platform_;
    Show& show_;
    Faders& faders_;
    ButtonClicker* buttons_ = nullptr;
    Phase phase_ = Phase::Idle;
    int position_ = 1;
    double sliceStart_ = 0;
    double heldUntil_ = 0;
};

}  // namespace lumiere
