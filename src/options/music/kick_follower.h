// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Keeps a beat grid on the kick drums. Each strong kick within 30 % of a beat of a grid beat
// either falls on it (within 12 ms), and the grid is refitted to the last kicks on it
// (fitRecent: a line while the tempo holds, a parabola while it glides), or it falls off it.
// Two kicks in a row off the grid on the same side mean the music has moved: the grid is fitted
// again on the last kick on it and those two (a new tempo), or on those two alone with the same
// period (the beat moved). A single kick off the grid changes nothing (a loose kick). A kick
// early by more than 12 ms and at most a tenth of a beat, as strong as the usual kicks, is
// handed out as the next beat, so the first beat of a faster tempo is given on time while the
// grid waits for the second. Not thread-safe.

#include <cstdint>
#include <deque>
#include <optional>
#include <vector>

#include "music/kick_onsets.h"
#include "music/tempo_fit.h"

namespace lumiere::music {

class KickFollower {
public:
    // Starts again on `grid`: the strong kicks of the last few seconds that fall on it become its
    // kicks, and the grid refitted to them is returned (`grid` itself with fewer than three).
    BeatGrid restart(const BeatGrid& grid, const KickOnsets& onsets);
    // Judges the kicks heard since the last call against `grid` and returns the grid to follow.
    BeatGrid follow(const BeatGrid& grid, const KickOnsets& onsets);
    // The last kick heard clearly before the grid's next beat (once), to be given as that beat.
    std::optional<double> takeEarlyKick();
    // Kicks on the grid kept for the fit.
    std::size_t kicksOnGrid() const { return onGrid_.size(); }

private:
    struct Kick {
        double time;
        double strength;
    };

    double usualStrength(const BeatGrid& grid, const KickOnsets& onsets) const;
    void onGrid(const Kick& kick, const BeatGrid& grid);
    std::optional<BeatGrid> moved(const BeatGrid& grid) const;
    BeatGrid refit(const BeatGrid& grid) const;

    std::deque<Kick> onGrid_;    // ascending, at most one per grid beat
    std::vector<Kick> offGrid_;  // in a row since the last kick on the grid, all on one side
    std::int64_t nextHop_ = 0;   // first hop whose peak has not been judged
    std::optional<double> early_;
};

}  // namespace lumiere::music
