// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A desk for the web remote's tests, test host and benchmark: the switch, the nine effect
// buttons, the master, sequences and "busy", with lamps driven by tick() (the caller's 10 ms
// timer, so 100 frames/s):
// - off: every lamp dark;
// - on, no effect: the blinker's stand-in, a new lamp pattern every frame;
// - on, "Chennillard": one lamp lit, moving right one step every master level × 15 ms (the desk's
//   rule; level 0 pauses it); any other effect the same with all lamps but one.
// It records the commands it ran and on which thread.

#include <array>
#include <cstdint>
#include <string>
#include <thread>
#include <vector>

#include "web/remote_desk.h"

namespace lumiere::test {

class FakeDesk : public RemoteDesk {
public:
    static constexpr int kChaser = 7;  // "Chennillard"

    RemoteState state;
    std::vector<RemoteCommand> ran;
    std::thread::id ranOn;
    std::string refuseWith;  // runRemote's answer, when set
    std::uint64_t frames = 0;

    FakeDesk() {
        state.master = 10;
        state.sequences = {"exemple.txt", "soirée.txt"};
    }

    RemoteState remoteState() const override { return state; }

    std::string runRemote(const RemoteCommand& command) override {
        ran.push_back(command);
        ranOn = std::this_thread::get_id();
        if (!refuseWith.empty()) return refuseWith;
        using Kind = RemoteCommand::Kind;
        switch (command.kind) {
            case Kind::Switch:
                state.on = !state.on;
                if (!state.on) stopAll();
                break;
            case Kind::Effect: {
                if (!state.on) return "Le pupitre est à l'arrêt : appuyez d'abord sur Marche.";
                const bool was = state.pressed[command.value - 1];
                state.pressed.fill(false);
                state.pressed[command.value - 1] = !was;
                step_ = 0;
                elapsed_ = 0;
                break;
            }
            case Kind::StopAll:
                stopAll();
                break;
            case Kind::Master:
                state.master = command.value;
                break;
            case Kind::RunSequence:
                state.sequenceRunning = true;
                break;
            case Kind::StopSequence:
                state.sequenceRunning = false;
                break;
        }
        show();
        return {};
    }

    // One 10 ms frame.
    void tick() {
        ++frames;
        elapsed_ += 10;
        if (state.on && effect() >= 0 && state.master > 0 && elapsed_ >= state.master * 15) {
            elapsed_ = 0;
            step_ = (step_ + 1) % kRemoteLamps;
        }
        show();
    }

    int effect() const {
        for (int i = 0; i < kRemoteEffects; ++i) {
            if (state.pressed[i]) return i;
        }
        return -1;
    }

private:
    void stopAll() {
        state.pressed.fill(false);
        state.sequenceRunning = false;
    }

    void show() {
        for (int k = 0; k < kRemoteLamps; ++k) {
            bool lit = false;
            if (!state.on)
                lit = false;
            else if (effect() < 0)
                lit = ((frames >> k) & 1) != 0;  // a new pattern every frame
            else if (effect() + 1 == kChaser)
                lit = k == step_;
            else
                lit = k != step_;
            state.lamps[k] = lit;
        }
    }

    int step_ = 0;
    int elapsed_ = 0;
};

}  // namespace lumiere::test
