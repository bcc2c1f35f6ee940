#pragma once
// A beat clock locked to the tracker: it keeps a grid (period and phase) fitted to the tracker's
// recent beats and gives one beat per grid step. Between the tracker's beats it goes on by
// itself, so a beat the tracker skips is still given, and an odd extra beat of the tracker
// changes nothing.
//
// On each tracker beat the grid is refitted, then checked against the low-band onsets (kick
// drums): among the fitted tempo, half of it and twice it (kept within 70 to 200 BPM) and their
// half-beat shifts, the grid whose teeth hold the strongest onsets wins, the fastest one being
// preferred while it keeps three quarters of the best strength. This corrects the tracker when it
// locks on the off-beat or at half or double the tempo. The clock only gives beats while the
// grid stands out of the onsets (noise has no beat) and the tracker's beats keep coming.

#include <deque>
#include <optional>
#include <vector>

#include "music/kick_onsets.h"
#include "music/tempo_fit.h"

namespace lumiere::music {

class BeatClock {
public:
    // A beat of the tracker at stream time t, with the onsets heard up to now.
    void trackerBeat(double t, const KickOnsets& onsets);

    // Appends the grid beats not given yet that fall at or before `streamTime`.
    void emitUntil(double streamTime, std::vector<double>& beats);

    // The grid while the clock gives beats at `streamTime`.
    std::optional<BeatGrid> grid(double streamTime) const;

private:
    bool locked(double streamTime) const;
    BeatGrid chooseGrid(const BeatGrid& fitted, const KickOnsets& onsets) const;
    static BeatGrid refineGrid(const BeatGrid& grid, const KickOnsets& onsets);

    std::deque<double> trackerBeats_;
    double trackerPeriod_ = 0;
    std::optional<BeatGrid> grid_;
    double contrast_ = 0;
    double lastGiven_ = -1e9;
};

}  // namespace lumiere::music
