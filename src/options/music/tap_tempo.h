// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Tap tempo, for following a song without a sound input: the user taps the beat (a key or a
// button). Four taps or more, each within `seriesGap` (2 s) of the previous one, set the tempo,
// fitted by least squares over the series (so one uneven tap moves it little); a longer pause
// starts a new series, and the tempo in force stays until the new series has four taps. The
// beats then follow at that tempo, in phase with the last tap.
// Pure: the caller passes the time of every call, so tests drive it with a fake clock.

#include <chrono>
#include <optional>
#include <vector>

#include "music/beat_follower.h"

namespace lumiere::music {

class TapTempo {
public:
    static constexpr std::chrono::milliseconds kSeriesGap{2000};
    static constexpr int kMinTaps = 4;
    static constexpr std::size_t kMaxTaps = 16;

    void tap(MusicClock::time_point t);

    // The tempo in force, once a series has had four taps.
    std::optional<double> bpm() const;
    // The first beat strictly after `t`, once there is a tempo (to arm a single-shot timer).
    std::optional<MusicClock::time_point> nextBeatAfter(MusicClock::time_point t) const;
    // The latest beat due at or before `now` that was not given yet, if any; beats missed in
    // between (a window busy for a while) are skipped, not given in a burst.
    std::optional<MusicClock::time_point> takeBeat(MusicClock::time_point now);

    void clear();

private:
    std::vector<MusicClock::time_point> series_;
    std::optional<MusicClock::duration> period_;
    MusicClock::time_point anchor_{};  // the last tap of the series that set the tempo
    std::optional<MusicClock::time_point> lastGiven_;
};

}  // namespace lumiere::music
