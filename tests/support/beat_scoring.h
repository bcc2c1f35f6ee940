// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Scores beats found against the true beats of a track: each true beat is matched with at most
// one beat found within the tolerance; beats found that match nothing are extra.

#include <vector>

namespace lumiere::test {

struct BeatScore {
    int trueBeats = 0;         // true beats in the scored span
    int found = 0;             // true beats matched by a beat found within the tolerance
    int extra = 0;             // beats found in the span that match no true beat
    double medianErrorMs = 0;  // median of |found - true| over the matches
    double meanErrorMs = 0;    // mean of (found - true): negative when beats come early

    double foundShare() const { return trueBeats == 0 ? 0 : double(found) / trueBeats; }
    double extraShare() const { return trueBeats == 0 ? 0 : double(extra) / trueBeats; }
};

// Scores the beats in [from, until) (seconds), matching within ±toleranceMs.
BeatScore scoreBeats(const std::vector<double>& truth, const std::vector<double>& found,
                     double from, double until, double toleranceMs = 25.0);

}  // namespace lumiere::test
