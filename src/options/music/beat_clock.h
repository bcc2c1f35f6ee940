// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A beat clock locked to the tracker and the kick drums: it keeps a grid (period and phase) and
// gives one beat per grid step. Between beats it goes on by itself, so a beat the tracker skips
// is still given, and an odd extra beat of the tracker changes nothing.
//
// The tracker's beats decide which grid is followed: on each of them a grid is fitted to the
// tracker's recent beats, then checked against the low-band onsets (kick drums): among the grid
// followed so far, the fitted tempo, half of it and twice it (kept within 70 to 200 BPM) and
// their half-beat shifts, the grid whose teeth hold the strongest onsets of the last 3 s wins,
// a faster one being preferred while it keeps three quarters of the best strength and its
// every other tooth holds as much as the teeth between (not kicks with off-beat bass notes).
// This corrects the tracker when it locks on the off-beat or at half or double the tempo. The
// kicks then set the grid's exact period and phase (KickFollower), and follow a change of tempo
// within two beats, where the tracker takes several seconds.
//
// The clock gives beats once the same grid has been chosen twice in a row and its teeth stand
// out of the onsets of the whole history (noise has no beat), and while they still stand out
// and the tracker's beats keep coming.

#include <deque>
#include <optional>
#include <vector>

#include "music/kick_follower.h"
#include "music/kick_onsets.h"
#include "music/tempo_fit.h"

namespace lumiere::music {

class BeatClock {
public:
    // A beat of the tracker at stream time t, with the onsets heard up to now.
    void trackerBeat(double t, const KickOnsets& onsets);
    // The kicks heard since the last call.
    void followKicks(const KickOnsets& onsets);

    // Appends the beats not given yet that fall at or before `streamTime`.
    void emitUntil(double streamTime, std::vector<double>& beats);

    // The grid while the clock gives beats at `streamTime`.
    std::optional<BeatGrid> grid(double streamTime) const;

private:
    bool locked(double streamTime) const;
    BeatGrid chooseGrid(const BeatGrid& fitted, const KickOnsets& onsets) const;
    void judgeLock(const KickOnsets& onsets, bool confirmed);

    std::deque<double> trackerBeats_;
    double trackerPeriod_ = 0;
    std::optional<BeatGrid> grid_;
    KickFollower kicks_;
    bool standsOut_ = false;  // the grid's teeth stand out of the onsets
    double lastGiven_ = -1e9;
};

}  // namespace lumiere::music
