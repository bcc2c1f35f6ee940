// SPDX-License-Identifier: GPL-3.0-or-later
#include "music/beat_analysis.h"

#include <algorithm>
#include <cmath>

namespace lumiere::music {

namespace {
const double kOnsetMeanKeep = std::exp(-OnsetFlux::frameSeconds() / 2.0);
constexpr double kFindSeconds = 0.8;  // the repetition must hold this long to find a beat
constexpr double kLoseSeconds = 2.0;  // and fail this long, or the input be silent, to lose it
constexpr double kShortestGap = 0.6;  // of a period, between two beats given
constexpr double kLateLimit = 0.04;   // a beat foretold this late is given late; later, skipped
const double kShownKeep = 1 - std::exp(-OnsetFlux::frameSeconds() / 1.0);
constexpr std::size_t kTempoBeats = 8;  // the last beats given, for the tempo shown
constexpr double kOnLine = 0.015;       // seconds: beats this close to a line lie on it
const double kChangeMeanKeep = std::exp(-OnsetFlux::frameSeconds() / 4.0);
}  // namespace

BeatAnalysis::BeatAnalysis(AnalysisSettings settings)
    : settings_(settings),
      filter_(settings.filter),
      weights_(static_cast<std::size_t>(filter_.periods()), 1.0) {
    setSensitivity(settings.sensitivity);
}

void BeatAnalysis::setSensitivity(int sensitivity) {
    settings_.sensitivity = std::clamp(sensitivity, kMinSensitivity, kMaxSensitivity);
    silenceDb_ = sensitivityThresholds(settings_.sensitivity).silenceDb;
    findRepetition_ =
        settings_.findRepetition * std::pow(1.1, kDefaultSensitivity - settings_.sensitivity);
}

void BeatAnalysis::process(std::span<const float> block, AnalysisResult& result) {
    result.beats.clear();
    result.level = measureLevel(block);
    const double start = streamTime();
    samples_ += block.size();
    const double now = streamTime();
    const double db = 20 * std::log10(std::max(1e-12, double(result.level.rms)));
    if (db < silenceDb_ || result.level.peak == 0) {
        if (quietSince_ < 0) quietSince_ = start;
    } else {
        quietSince_ = -1;
    }
    strengths_.clear();
    changes_.clear();
    flux_.feed(block, strengths_);
    harmony_.feed(block, changes_);
    for (std::size_t i = 0; i < strengths_.size(); ++i)
        frame(strengths_[i], i < changes_.size() ? changes_[i] : 0.0f);
    // A beat foretold within the first half of the next block is given now: on average, the
    // beats come at their time.
    const double ahead = 0.5 * double(block.size()) / kSampleRate;
    if (found_) giveBeats(now + ahead, result.beats);
    result.found = found_;
    result.bpm = found_ ? shownBpm() : 0;
}

void BeatAnalysis::frame(float strength, float change) {
    salience_.add(strength);
    onsetMean_ = flux_.frames() == 1
                     ? strength
                     : kOnsetMeanKeep * onsetMean_ + (1 - kOnsetMeanKeep) * strength;
    // The weight of each period: the tempo's likelihood and how much its onsets repeat.
    double strongest = 0;
    for (std::size_t i = 0; i < weights_.size(); ++i) {
        weights_[i] = salience_.salience(double(salience_.shortestPeriod() + int(i)));
        strongest = std::max(strongest, weights_[i]);
    }
    const double fps = 1.0 / OnsetFlux::frameSeconds();
    for (std::size_t i = 0; i < weights_.size(); ++i) {
        const double bpm = 60 * fps / double(salience_.shortestPeriod() + int(i));
        const double octaves = std::log2(bpm / settings_.usualBpm) / settings_.bpmSpread;
        const double prior = std::exp(-0.5 * octaves * octaves);
        const double share = strongest > 0 ? weights_[i] / strongest : 1.0;
        weights_[i] = prior * std::pow(share, settings_.salienceWeight) + 1e-6;
    }
    const double clear = settings_.clearOnset * std::max(onsetMean_, 1e-9);
    const double x = strength / clear;
    filter_.step(x / (1 + x), weights_);
    // The harmony's change, heard late, weighs the hypotheses whose beat was then.
    changeMean_ = kChangeMeanKeep * changeMean_ + (1 - kChangeMeanKeep) * change;
    if (settings_.harmonyGain > 0 && changeMean_ > 1e-4) {
        const double floor = settings_.harmonyFloor * changeMean_;
        const double likelihood =
            std::clamp(std::pow((change + floor) / (changeMean_ + floor), settings_.harmonyGain),
                       1 / settings_.harmonyLimit, settings_.harmonyLimit);
        filter_.confirm(likelihood, HarmonicChange::delayFrames(), settings_.harmonySpread);
    }
    const BeatFilter::Estimate e = filter_.estimate();
    const std::int64_t last = flux_.frames() - 1;
    nextBeat_ = OnsetFlux::frameTime(last) + e.framesToBeat * OnsetFlux::frameSeconds();
    period_ = e.period * OnsetFlux::frameSeconds();
    repetition_ = salience_.correlation(e.period);
    // The tempo shown: the period the beats are given at, smoothed over about a second (the
    // filter's period moves by a fraction of a frame from one frame to the next).
    shownPeriod_ = shownPeriod_ <= 0 || std::abs(period_ / shownPeriod_ - 1) > 0.1
                       ? period_
                       : shownPeriod_ + kShownKeep * (period_ - shownPeriod_);
    judgeFound();
}

bool BeatAnalysis::judgeFound() {
    const double now = streamTime();
    const bool quiet = quietSince_ >= 0 && now - quietSince_ >= kLoseSeconds;
    if (!found_) {
        if (repetition_ >= findRepetition_ && quietSince_ < 0) {
            if (foundSince_ < 0) foundSince_ = now;
            if (now - foundSince_ >= kFindSeconds) {
                found_ = true;
                lostSince_ = -1;
            }
        } else {
            foundSince_ = -1;
        }
        return found_;
    }
    if (repetition_ < settings_.keepShare * findRepetition_) {
        if (lostSince_ < 0) lostSince_ = now;
    } else {
        lostSince_ = -1;
    }
    if (quiet || (lostSince_ >= 0 && now - lostSince_ >= kLoseSeconds)) {
        found_ = false;
        foundSince_ = -1;
        given_.clear();
    }
    return found_;
}

void BeatAnalysis::giveBeats(double until, std::vector<double>& beats) {
    const double now = streamTime();
    // The beat to come when its time is near; or the one the filter now puts just before, when
    // the music came a little earlier than foretold and that beat was not given.
    double t = nextBeat_;
    if (t > until) {
        t = nextBeat_ - period_;
        if (t > until || t < now - kLateLimit) return;
    }
    if (t < now - kLateLimit) return;  // its time has passed: the lights would be late
    if (t < lastGiven_ + kShortestGap * period_) return;
    t = std::max(t, lastGiven_ + 1e-3);
    beats.push_back(t);
    lastGiven_ = t;
    given_.push_back(t);
    if (given_.size() > kTempoBeats) given_.erase(given_.begin());
}

double BeatAnalysis::shownBpm() const {
    // While the beats given lie on a line (no step of phase among the last ones), the line's
    // tempo, finer than the filter's period; else that period, smoothed.
    if (given_.size() >= kTempoBeats && shownPeriod_ > 0) {
        const auto n = static_cast<double>(given_.size());
        double sx = 0, sy = 0, sxx = 0, sxy = 0;
        std::vector<double> index(given_.size(), 0.0);
        for (std::size_t i = 1; i < given_.size(); ++i)
            index[i] = index[i - 1] + std::round((given_[i] - given_[i - 1]) / shownPeriod_);
        for (std::size_t i = 0; i < given_.size(); ++i) {
            sx += index[i];
            sy += given_[i];
            sxx += index[i] * index[i];
            sxy += index[i] * given_[i];
        }
        const double slope = (n * sxy - sx * sy) / (n * sxx - sx * sx);
        const double origin = (sy - slope * sx) / n;
        double worst = 0;
        for (std::size_t i = 0; i < given_.size(); ++i)
            worst = std::max(worst, std::abs(given_[i] - origin - slope * index[i]));
        if (worst <= kOnLine && std::abs(slope / shownPeriod_ - 1) < 0.05) return 60 / slope;
    }
    return shownPeriod_ > 0 ? 60 / shownPeriod_ : 0;
}

}  // namespace lumiere::music
