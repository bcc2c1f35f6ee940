// SPDX-License-Identifier: GPL-3.0-or-later
#include "music/beat_follower.h"

namespace lumiere::music {

bool BeatFollower::beat(MusicClock::time_point now) {
    lastBeat_ = now;
    return step(now);
}

bool BeatFollower::tick(MusicClock::time_point now) {
    if (state(now) == FollowState::Following) return false;
    lastStep_ = now;  // the master's interval, whatever it is
    return true;
}

FollowState BeatFollower::state(MusicClock::time_point now) const {
    if (lastBeat_ && now - *lastBeat_ < settings_.beatTimeout) return FollowState::Following;
    return FollowState::Fallback;
}

void BeatFollower::reset() {
    lastBeat_.reset();
    lastStep_.reset();
}

bool BeatFollower::step(MusicClock::time_point now) {
    // A clock that went back (a time from before the last step) is no reason to step again.
    if (lastStep_ && now - *lastStep_ < settings_.minStepGap) return false;
    lastStep_ = now;
    return true;
}

}  // namespace lumiere::music
