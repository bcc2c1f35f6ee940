// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/beat_scoring.h"

#include <algorithm>
#include <cmath>

namespace lumiere::test {

BeatScore scoreBeats(const std::vector<double>& truth, const std::vector<double>& found,
                     double from, double until, double toleranceMs) {
    const double tolerance = toleranceMs / 1000.0;
    BeatScore score;
    std::vector<bool> used(found.size(), false);
    std::vector<double> errors;
    double errorSum = 0;
    for (double beat : truth) {
        if (beat < from || beat >= until) continue;
        ++score.trueBeats;
        int best = -1;
        for (std::size_t i = 0; i < found.size(); ++i) {
            if (used[i] || std::abs(found[i] - beat) > tolerance) continue;
            if (best < 0 || std::abs(found[i] - beat) < std::abs(found[best] - beat)) best = int(i);
        }
        if (best < 0) continue;
        used[best] = true;
        ++score.found;
        errors.push_back(std::abs(found[best] - beat) * 1000.0);
        errorSum += (found[best] - beat) * 1000.0;
    }
    for (std::size_t i = 0; i < found.size(); ++i) {
        if (!used[i] && found[i] >= from && found[i] < until) ++score.extra;
    }
    if (!errors.empty()) {
        std::nth_element(errors.begin(), errors.begin() + errors.size() / 2, errors.end());
        score.medianErrorMs = errors[errors.size() / 2];
        score.meanErrorMs = errorSum / double(errors.size());
    }
    return score;
}

}  // namespace lumiere::test
