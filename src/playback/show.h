// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The show: who drives the lamps. Either the sequence player (Timer1) plays the effect chosen by
// the last command button, or the channel blinker (Timer4) blinks the channels at the rate of
// their faders, or nothing runs. The show owns both timers and every frame that no player
// computes (the all-off frame): the command buttons, the sequence runner, the desk switch and
// shutdown ask it, and none of them starts or stops a timer or sends a frame on its own.
//
// Every frame goes through the show's own `envoi`: to the lamp link, and to the mirrors (the DMX
// output, the web remote) that options set. They are independent: any may fail without touching
// the others. The lamps a click changes by hand reach the mirrors through the show as well.

#include <cstdint>
#include <vector>

#include "link/frame_sender.h"
#include "link/lamp_link.h"
#include "model/controls.h"
#include "model/form1.h"
#include "model/values.h"
#include "playback/blinker.h"
#include "playback/player.h"

namespace lumiere {

class Platform;

// Another place the lamps go besides the controller's serial line: it gets the byte of every
// frame, whether or not the line took it.
class LampMirror {
public:
    virtual void lamps(std::uint8_t byte) = 0;

protected:
    ~LampMirror() = default;
};

// Whether a tick of the player's timer steps the effect: while the music option follows the
// beats, they step it and the ticks only stand in.
class TickGate {
public:
    virtual bool tickSteps() = 0;

protected:
    ~TickGate() = default;
};

// The beat the music option hears, for whoever shows it (the web remote's beat lamp).
struct Pulse {
    bool following = false;  // the music option is on
    int beats = 0;           // beats heard so far
    double bpm = 0;          // the tempo the steps follow; 0 for none

    bool operator==(const Pulse&) const = default;
};

class Show final : public FrameSender {
public:
    Show(Form1& form, AppValues& values, LampLink& link, Platform& platform);

    // Set when the application is put together, by the options that want them.
    void addMirror(LampMirror& mirror) { mirrors_.push_back(&mirror); }
    void gateTicksWith(TickGate& gate) { gates_.push_back(&gate); }
    // One frame: to the link, then to the mirrors.
    void envoi(double value) override;
    // A lamp was switched by hand: no frame goes out, but the mirrors show the lamps as they now
    // stand, unless an effect repaints them at its next step anyway.
    void lampsClicked();

    // The timers as the window binds them: {enabled, interval in ms}.
    const Timer& timer1() const { return timer1_; }
    const Timer& timer4() const { return timer4_; }

    // The ticks of the two timers. A tick of the player steps the effect unless a gate says the
    // beats step it.
    void Timer1_Timer();
    void Timer4_Timer();
    // A beat of the music the player follows: the effect takes one step, as on a tick.
    void stepOnBeat() { step(); }

    // The player takes the lamps with the effect chosen in `choix`; the blinker stops.
    void play();
    // The player stops, and the lamps go back to the blinker while the desk is on (`marche`).
    void handBack();
    // The player stops and the blinker takes the lamps whatever the switch says: a cycle step
    // puts the faders somewhere and shows them for its slice.
    void blinkChannels();
    // The blinker stops: the end of a sequence slice, or a click while the desk is off.
    void stopBlinker();

    // The desk switch. On: the blinker starts. Off: both stop, one all-off frame goes out and
    // every lamp turns grey.
    void switchOn();
    void switchOff();
    // Shutdown: both stop, and the all-off frame is the last frame on the line.
    void end();

    // The beat heard, as the music option says it.
    const Pulse& pulse() const { return pulse_; }
    void setPulse(const Pulse& pulse) { pulse_ = pulse; }

    // The step the player takes next in an animation (`rang`), and a start from its first.
    int nextStep() const { return player_.rang(); }
    void restartSteps() { player_.restartSteps(); }

    // The master fader sets the player's speed; 0 or less pauses it.
    void setPlayerInterval(int milliseconds) { timer1_.interval = milliseconds; }

private:
    void step();
    void mirror(std::uint8_t byte);

    Form1& form_;
    AppValues& values_;
    LampLink& link_;
    std::vector<LampMirror*> mirrors_;
    std::vector<TickGate*> gates_;
    Pulse pulse_;
    Player player_;
    Blinker blinker_;
    Timer timer1_{false, 10};
    Timer timer4_{false, 10};
};

}  // namespace lumiere
