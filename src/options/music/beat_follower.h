// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Decides when the running effect steps while following the music. Inputs are the beats (as they
// reach the window) and the ticks of the player's own timer (the master interval); each call
// answers whether the effect steps now.
//   - While beats are coming, the effect steps once per beat and the ticks do nothing.
//   - A beat never steps the effect within `minStepGap` (150 ms) of the previous step, whatever
//     the input: a 300 BPM track or a burst of false beats cannot make the lamps flicker.
//   - When no beat has come for `beatTimeout` (2 s), or none has come yet, every tick steps the
//     effect again (fallback): the effect runs at the master's interval, as without the music;
//     the next beat takes over again.
// Pure: the caller passes the time of every call, so tests drive it with a fake clock.

#include <chrono>
#include <optional>

namespace lumiere::music {

using MusicClock = std::chrono::steady_clock;

enum class FollowState {
    Following,  // the beats step the effect
    Fallback,   // no beat for a while: the timer steps the effect
};

class BeatFollower {
public:
    struct Settings {
        std::chrono::milliseconds minStepGap{150};
        std::chrono::milliseconds beatTimeout{2000};
    };

    BeatFollower() : BeatFollower(Settings{}) {}
    explicit BeatFollower(Settings settings) : settings_(settings) {}

    // A beat has come at `now`; true when the effect steps.
    bool beat(MusicClock::time_point now);
    // The player's timer ticked at `now`; true when the effect steps.
    bool tick(MusicClock::time_point now);
    // For the status bar.
    FollowState state(MusicClock::time_point now) const;
    // Forgets every beat and step (following stopped, or a new input chosen).
    void reset();

private:
    bool step(MusicClock::time_point now);

    Settings settings_;
    std::optional<MusicClock::time_point> lastBeat_;
    std::optional<MusicClock::time_point> lastStep_;
};

}  // namespace lumiere::music
