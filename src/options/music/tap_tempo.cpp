// SPDX-License-Identifier: GPL-3.0-or-later
#include "music/tap_tempo.h"

#include <chrono>

#include "music/tempo_fit.h"

namespace lumiere::music {

namespace {

double secondsBetween(MusicClock::time_point from, MusicClock::time_point to) {
    return std::chrono::duration<double>(to - from).count();
}

}  // namespace

void TapTempo::tap(MusicClock::time_point t) {
    if (!series_.empty() && (t <= series_.back() || t - series_.back() > kSeriesGap)) {
        series_.clear();
    }
    series_.push_back(t);
    if (series_.size() > kMaxTaps) series_.erase(series_.begin());
    if (static_cast<int>(series_.size()) < kMinTaps) return;

    std::vector<double> times;
    for (MusicClock::time_point tap : series_)
        times.push_back(secondsBetween(series_.front(), tap));
    const std::optional<double> interval = typicalInterval(times);
    if (!interval) return;
    const std::optional<BeatGrid> grid = fitGrid(times, *interval, kMinTaps);
    if (!grid) return;
    period_ = std::chrono::duration_cast<MusicClock::duration>(
        std::chrono::duration<double>(grid->period));
    anchor_ = t;
    lastGiven_ = t;  // the tap itself is the beat of this moment
}

std::optional<double> TapTempo::bpm() const {
    if (!period_) return std::nullopt;
    return 60.0 / std::chrono::duration<double>(*period_).count();
}

std::optional<MusicClock::time_point> TapTempo::nextBeatAfter(MusicClock::time_point t) const {
    if (!period_) return std::nullopt;
    if (t < anchor_) return anchor_;
    return anchor_ + (((t - anchor_) / *period_) + 1) * *period_;
}

std::optional<MusicClock::time_point> TapTempo::takeBeat(MusicClock::time_point now) {
    if (!period_ || now < anchor_) return std::nullopt;
    const MusicClock::time_point latest = anchor_ + ((now - anchor_) / *period_) * *period_;
    if (lastGiven_ && latest <= *lastGiven_) return std::nullopt;
    lastGiven_ = latest;
    return latest;
}

void TapTempo::clear() {
    series_.clear();
    period_.reset();
    lastGiven_.reset();
}

}  // namespace lumiere::music
