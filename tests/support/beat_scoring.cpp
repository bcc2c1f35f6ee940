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

namespace lumiere::test {

namespace {

std::vector<double> after(const std::vector<double>& beats, double start) {
    std::vector<double> kept;
    for (double t : beats) {
        if (t >= start) kept.push_back(t);
    }
    return kept;
}

// The most matches within ±window between two ascending lists: on a line, taking for each true
// beat the earliest unmatched beat found that is not too early is a maximum matching. The
// offsets (found - true) of the matches are added to `offsets` when given.
int matches(const std::vector<double>& truth, const std::vector<double>& found, double window,
            std::vector<double>* offsets = nullptr) {
    int count = 0;
    std::size_t next = 0;
    for (double beat : truth) {
        while (next < found.size() && found[next] < beat - window) ++next;
        if (next < found.size() && found[next] <= beat + window) {
            if (offsets) offsets->push_back(found[next] - beat);
            ++count;
            ++next;
        }
    }
    return count;
}

}  // namespace

double fMeasure(const std::vector<double>& truth, const std::vector<double>& found, double start,
                double window) {
    const std::vector<double> t = after(truth, start), f = after(found, start);
    if (t.empty() || f.empty()) return 0;
    // A hair of slack: a beat exactly at the window's edge counts, whatever the rounding.
    const int hits = matches(t, f, window + 1e-9);
    if (hits == 0) return 0;
    const double precision = double(hits) / double(f.size());
    const double recall = double(hits) / double(t.size());
    return 2 * precision * recall / (precision + recall);
}

std::vector<std::vector<double>> otherLevels(const std::vector<double>& truth) {
    std::vector<double> offBeats, twice, oddHalf, evenHalf;
    for (std::size_t i = 0; i + 1 < truth.size(); ++i) {
        offBeats.push_back((truth[i] + truth[i + 1]) / 2);
    }
    for (std::size_t i = 0; i < truth.size(); ++i) {
        twice.push_back(truth[i]);
        if (i < offBeats.size()) twice.push_back(offBeats[i]);
        (i % 2 == 0 ? evenHalf : oddHalf).push_back(truth[i]);
    }
    return {offBeats, twice, oddHalf, evenHalf};
}

MirexScore mirexScore(const std::vector<double>& truth, const std::vector<double>& found,
                      double earliest, double latest) {
    MirexScore score;
    score.f = -1;
    std::vector<std::vector<double>> levels = otherLevels(truth);
    levels.insert(levels.begin(), truth);
    const int first = static_cast<int>(std::lround(earliest * 1000));
    const int last = static_cast<int>(std::lround(latest * 1000));
    for (int ms = first; ms <= last; ++ms) {
        const double shift = ms / 1000.0;
        std::vector<double> shifted(found);
        for (double& t : shifted) t -= shift;
        const double f = fMeasure(truth, shifted);
        if (f > score.f || (f == score.f && std::abs(shift) < std::abs(score.latency))) {
            score.f = f;
            score.latency = shift;
        }
        for (const std::vector<double>& level : levels) {
            score.fAnyLevel = std::max(score.fAnyLevel, fMeasure(level, shifted));
        }
    }
    score.f = std::max(score.f, 0.0);
    // The latency reported: the median delay of the beats matched at the best shift.
    std::vector<double> shifted(found), offsets;
    for (double& t : shifted) t -= score.latency;
    matches(after(truth, 5.0), after(shifted, 5.0), 0.07 + 1e-9, &offsets);
    if (!offsets.empty()) {
        std::nth_element(offsets.begin(), offsets.begin() + offsets.size() / 2, offsets.end());
        score.latency += offsets[offsets.size() / 2];
    }
    return score;
}

}  // namespace lumiere::test
