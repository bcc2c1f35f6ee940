// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Sound capture from the PulseAudio server (or PipeWire's PulseAudio service): float mono
// 44 100 Hz in fragments of 256 samples (5.8 ms), on a thread of its own (libpulse's threaded
// main loop), so nothing here waits on the window thread or makes it wait.
//
// The handlers run on the capture thread, one at a time, and never after stop() has returned.
// stop() may be called from any thread, also from a handler (it then only disconnects; the
// thread ends in the next stop() or the destructor, which must not run on the capture thread).

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "music/beat_follower.h"
#include "music/music_texts.h"

namespace lumiere::music {

struct PulseOptions {
    std::string server;  // libpulse server string ("unix:/path"); empty: the usual server
    std::chrono::milliseconds listTimeout{2000};
};

struct SourceInfo {
    std::string id;           // the server's name of the source: give it back to start()
    std::string description;  // for people, in Windows-1252 ("Monitor of Built-in Audio", …)
    bool monitor = false;     // the sound an output plays (the music the computer itself plays)
};

struct SourceList {
    std::vector<SourceInfo> sources;
    std::string defaultSource;  // id of the server's default input
    std::optional<MusicError> error;
};

// The sources the server offers, monitors included. Blocks until the server has answered, at
// most `options.listTimeout` (no server: at once); call it off the window thread.
SourceList listSources(const PulseOptions& options = {});

struct CaptureBlock {
    std::span<const float> samples;
    std::uint64_t firstSample = 0;       // place of samples[0] in the stream
    MusicClock::time_point capturedEnd;  // when the sound of the block's end reached the input
};

class PulseCapture {
public:
    using BlockHandler = std::function<void(const CaptureBlock&)>;
    using ErrorHandler = std::function<void(MusicError)>;

    explicit PulseCapture(PulseOptions options = {});
    ~PulseCapture();
    PulseCapture(const PulseCapture&) = delete;
    PulseCapture& operator=(const PulseCapture&) = delete;

    // Starts capturing `sourceId` (empty: the server's default input) without waiting for the
    // server. Errors come through `onError`, once per start: from this call itself when the
    // capture cannot even begin (it then returns false), later from the capture thread. A chosen
    // source that disappears is an error; the default input may move to another device.
    bool start(const std::string& sourceId, BlockHandler onBlock, ErrorHandler onError);
    void stop();

private:
    struct Session;
    PulseOptions options_;
    std::unique_ptr<Session> session_;
};

}  // namespace lumiere::music
