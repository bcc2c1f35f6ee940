#pragma once
// The sequence runner `deroule`: plays the loaded sequence one step per time slice. A step naming
// one of the effect buttons clicks it, "END" loops to the start, a step containing "cycle" puts
// the faders where that cycle file says, anything else does nothing. Each slice lasts the value of
// the speed slider in seconds, read again while waiting. A stop request (`arret`) is seen only
// between slices.
//
// The runner is a state machine driven by the window's event loop: it never waits inside a call.
// The window asks `wakeAt()` when to call `wake()` next; everything else keeps running meanwhile.

#include <functional>
#include <optional>
#include <string>

#include "model/form1.h"
#include "model/values.h"

namespace lumiere {

class Faders;
class Platform;

class SequenceRunner {
public:
    using ClickButton = std::function<void(int)>;
    // True while the run must hold still (a modal dialog is open).
    using Suspended = std::function<bool()>;

    SequenceRunner(Form1& form, AppValues& values, Platform& platform, Faders& faders,
                   ClickButton click, Suspended suspended)
        : form_(form),
          values_(values),
          platform_(platform),
          faders_(faders),
          click_(std::move(click)),
          suspended_(std::move(suspended)) {}

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
    Platform& platform_;
    Faders& faders_;
    ClickButton click_;
    Suspended suspended_;
    Phase phase_ = Phase::Idle;
    int position_ = 1;
    double sliceStart_ = 0;
    double heldUntil_ = 0;
};

}  // namespace lumiere
