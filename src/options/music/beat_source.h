// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Music following from a sound input: PulseCapture feeding BeatAnalysis on the capture thread.
// The listener's functions are called on that thread, one at a time, never after stop() has
// returned; the window posts what it gets to its own thread (e.g. QMetaObject::invokeMethod with
// Qt::QueuedConnection) and keeps nothing of this thread's.
//
//   onBeat   every beat, with its place in the stream and the steady-clock time it was heard
//            (the beat's own time, not the time of the call: the call comes up to 3 ms before it,
//            the beat being foretold, and at most 40 ms after it);
//   onLevel  about every 50 ms, for a meter (RMS and peak over those 50 ms);
//   onTempo  when the tempo changes by 0.1 BPM or more: the tempo of the beats given, while a
//            beat is found; 0 when none is (describePulse() says which);
//   onError  once per start, with the French text to show.

#include <atomic>
#include <functional>
#include <string>

#include "music/beat_analysis.h"
#include "music/pulse_capture.h"

namespace lumiere::music {

struct BeatEvent {
    double streamTime = 0;         // seconds since the capture started
    MusicClock::time_point heard;  // when the beat reached the input
    double bpm = 0;                // the tempo shown at that beat
};

struct BeatListener {
    std::function<void(const BeatEvent&)> onBeat;
    std::function<void(const Level&)> onLevel;
    std::function<void(double bpm)> onTempo;
    std::function<void(MusicError, const std::string& message)> onError;
};

class BeatSource {
public:
    explicit BeatSource(PulseOptions options = {}) : capture_(std::move(options)) {}
    ~BeatSource() { stop(); }
    BeatSource(const BeatSource&) = delete;
    BeatSource& operator=(const BeatSource&) = delete;

    // Starts following `source` (from listSources(); an empty id: the default input), whose
    // description names it in the error texts. False when it cannot even begin (onError has
    // then been called already, on this thread).
    bool start(const SourceInfo& source, BeatListener listener,
               int sensitivity = kDefaultSensitivity);
    // From any thread; takes effect at the next block.
    void setSensitivity(int sensitivity) { sensitivity_.store(sensitivity); }
    void stop() { capture_.stop(); }

private:
    void block(const CaptureBlock& block);

    PulseCapture capture_;
    BeatListener listener_;
    std::string sourceName_;
    std::atomic<int> sensitivity_{kDefaultSensitivity};
    // Capture thread only, from start() on.
    std::unique_ptr<BeatAnalysis> analysis_;
    AnalysisResult result_;
    double shownBpm_ = 0;
    double levelSquares_ = 0;
    float levelPeak_ = 0;
    std::size_t levelSamples_ = 0;
};

}  // namespace lumiere::music
